#include "platform/messages.h"

#include <cstdio>

#include "platform/cp1250.h"

namespace platform {
namespace {
MessageHandler& Handler() {
  static MessageHandler handler;
  return handler;
}

MessageDlgHandler& DlgHandler() {
  static MessageDlgHandler handler;
  return handler;
}
}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler) {
  MessageHandler old = std::move(Handler());
  Handler() = std::move(handler);
  return old;
}

void ShowMessage(const std::string& caption, const std::string& text) {
  if (Handler()) {
    Handler()(caption, text);
    return;
  }
  std::fprintf(stderr, "%s: %s\n", Cp1250ToUtf8(caption).c_str(), Cp1250ToUtf8(text).c_str());
}

MessageDlgHandler SetMessageDlgHandler(MessageDlgHandler handler) {
  MessageDlgHandler old = std::move(DlgHandler());
  DlgHandler() = std::move(handler);
  return old;
}

void ShowMessageDlg(MessageIcon icon, const std::string& text) {
  if (DlgHandler()) {
    DlgHandler()(icon, text);
    return;
  }
  ShowMessage(MessageIconCaption(icon), text);
}

std::string MessageIconCaption(MessageIcon icon) { return icon == MessageIcon::Error ? "Error" : "Information"; }

}  // namespace platform
