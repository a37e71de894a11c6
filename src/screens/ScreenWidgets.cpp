#include "screens/ScreenWidgets.h"

using namespace toolkit;

QFont ComicFont(bool bold) { return FontPt("Comic Sans MS", 10, bold); }

TLabel* ComicLabel(QWidget* parent, const char* name, int left, int top, bool bold, const std::string& caption) {
  auto* l = new TLabel(parent, name);
  l->setFont(ComicFont(bold));
  l->move(left, top);
  l->SetCaption(caption);
  return l;
}

TButton* ComicButton(QWidget* parent, const char* name, int left, int top, int width, const std::string& caption) {
  auto* b = new TButton(parent, name);
  b->setFont(ComicFont(true));
  b->SetBounds(left, top, width, 25);
  b->SetCaption(caption);
  return b;
}
