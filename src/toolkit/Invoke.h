#pragma once
// The error boundary of every event handler: an exception escaping a handler is
// shown in the standard error box and the program goes on. Controls call
// Invoke; the application object installs the box, so controls need not know it.

#include <exception>
#include <functional>

namespace toolkit {

// Runs a handler; an exception escaping it goes to the installed error box.
// With none installed (no application object) the exception passes on.
void Invoke(const std::function<void()>& handler);

// Installs the standard error box for Invoke; null removes it.
using TErrorBox = void (*)(const std::exception& e);
void SetErrorBox(TErrorBox box);

}  // namespace toolkit
