#include "toolkit/MakeButton.h"

namespace toolkit {

TButton* NewButton(QWidget* parent, const char* name, int left, int top, int width, int height,
                   const std::string& caption, std::function<void()> click) {
  auto* b = new TButton(parent, name);
  b->SetBounds(left, top, width, height);
  b->SetCaption(caption);
  b->OnClick = std::move(click);
  return b;
}

}  // namespace toolkit
