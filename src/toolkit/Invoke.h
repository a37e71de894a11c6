#pragma once
// The error boundary of every event handler: an exception escaping a handler is
// shown in the standard error box and the program goes on. Controls call
// Invoke; the application object installs the box, so controls need not know it.

#include <exception>
#include <functional>

class QObject;

namespace toolkit {

// Runs a handler; an exception escaping it goes to the installed error box.
// With none installed (no application object) the exception passes on.
void Invoke(const std::function<void()>& handler);

// The same for a handler of this control or screen, which does not run while
// it, or a window or control it lies in, is being destroyed: by then the
// objects the handler works on are gone, though Qt still moves the focus
// out of them and tells their children.
void Invoke(const QObject* owner, const std::function<void()>& handler);

// Marks a control or screen as being destroyed; its destructor calls this first.
void MarkBeingDestroyed(QObject* object);
bool BeingDestroyed(const QObject* object);

// Installs the standard error box for Invoke; null removes it.
using TErrorBox = void (*)(const std::exception& e);
void SetErrorBox(TErrorBox box);

}  // namespace toolkit
