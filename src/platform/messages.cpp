#include "messages.h"

#include <cstdio>

#include "cp1250.h"

namespace platform {
namespace {
MessageHandler& Handler() {
  static MessageHandler handler;
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

}  // namespace platform
