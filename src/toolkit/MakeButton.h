#pragma once
// A push button made, placed, captioned and wired in one step, as the screens
// and Lexorin lay out their rows of buttons.

#include <functional>
#include <string>

#include "toolkit/Controls.h"

namespace toolkit {

TButton* NewButton(QWidget* parent, const char* name, int left, int top, int width, int height,
                   const std::string& caption, std::function<void()> click = {});

}  // namespace toolkit
