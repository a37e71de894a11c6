#pragma once
// Informing message boxes (an OK button, no icon) raised from code below the
// screens, such as the test file loader. The program installs a handler that
// shows a real box; until then, and in tests that install their own, the
// message goes to the handler or to standard error.

#include <functional>
#include <string>

namespace platform {

using MessageHandler = std::function<void(const std::string& caption, const std::string& text)>;

// Installs the handler and returns the one it replaces.
MessageHandler SetMessageHandler(MessageHandler handler);

// Caption and text are code page 1250.
void ShowMessage(const std::string& caption, const std::string& text);

// Message dialogs with an icon and one OK button, such as the help components
// raise. Their caption follows the icon ("Information", "Error").
enum class MessageIcon { Information, Error };

using MessageDlgHandler = std::function<void(MessageIcon icon, const std::string& text)>;

// Installs the handler and returns the one it replaces.
MessageDlgHandler SetMessageDlgHandler(MessageDlgHandler handler);

// Without a dialog handler the text goes to ShowMessage under the icon's caption.
void ShowMessageDlg(MessageIcon icon, const std::string& text);

// "Information" or "Error".
std::string MessageIconCaption(MessageIcon icon);

}  // namespace platform
