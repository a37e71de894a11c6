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

TLabel* ComicFixedLabel(QWidget* parent, const char* name, int left, int top, int width, Qt::Alignment alignment,
                        const std::string& caption) {
  auto* l = ComicLabel(parent, name, left, top, true, caption);
  l->SetAutoSize(false);
  l->SetBounds(left, top, width, 19);
  l->SetAlignment(alignment);
  return l;
}

TButton* ComicButton(QWidget* parent, const char* name, int left, int top, int width, const std::string& caption,
                     int32_t helpContext, std::function<void()> click) {
  auto* b = NewButton(parent, name, left, top, width, 25, caption, std::move(click));
  b->setFont(ComicFont(true));
  b->SetHelpContext(helpContext);
  return b;
}

TLabel* NewLabel(QWidget* parent, const char* name, int left, int top, const std::string& caption) {
  auto* l = new TLabel(parent, name);
  l->move(left, top);
  l->SetCaption(caption);
  return l;
}

TCheckBox* NewCheckBox(QWidget* parent, const char* name, int left, int top, int width, const std::string& caption) {
  auto* c = new TCheckBox(parent, name);
  c->SetBounds(left, top, width, 17);
  c->SetCaption(caption);
  return c;
}

TEdit* NewEdit(QWidget* parent, const char* name, int left, int top, int width) {
  auto* e = new TEdit(parent, name);
  e->SetBounds(left, top, width, 21);
  return e;
}

TSpinEdit* NewSpinEdit(QWidget* parent, const char* name, int left, int top, int width, int32_t min, int32_t max,
                       int32_t value, int height) {
  auto* s = new TSpinEdit(parent, name);
  s->SetBounds(left, top, width, height);
  s->SetMinValue(min);
  s->SetMaxValue(max);
  s->SetValue(value);
  return s;
}

TGroupBox* NewGroupBox(QWidget* parent, const char* name, int left, int top, int width, int height,
                       const std::string& caption) {
  auto* g = new TGroupBox(parent, name);
  g->SetBounds(left, top, width, height);
  g->SetCaption(caption);
  return g;
}

TPanel* NewPanel(QWidget* parent, const char* name, TAlign align, int height) {
  auto* p = new TPanel(parent, name);
  p->resize(parent->width(), height);
  p->SetAlign(align);
  return p;
}

TBevel* NewBevel(QWidget* parent, const char* name, TBevelShape shape, int left, int top, int width, int height) {
  auto* b = new TBevel(parent, name);
  b->SetShape(shape);
  b->SetBounds(left, top, width, height);
  return b;
}
