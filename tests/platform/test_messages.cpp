#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/messages.h"

using namespace platform;

TEST(Messages, DialogsGoToTheirHandlerOrUnderTheIconsCaptionToThePlainOne) {
  std::vector<std::string> plain;
  const MessageHandler oldPlain = SetMessageHandler(
      [&](const std::string& caption, const std::string& text) { plain.push_back(caption + "|" + text); });
  ShowMessageDlg(MessageIcon::Error, "bad");
  ShowMessageDlg(MessageIcon::Information, "3 items");
  EXPECT_EQ(plain, (std::vector<std::string>{"Error|bad", "Information|3 items"}));

  std::vector<MessageIcon> icons;
  const MessageDlgHandler oldDlg =
      SetMessageDlgHandler([&](MessageIcon icon, const std::string&) { icons.push_back(icon); });
  ShowMessageDlg(MessageIcon::Error, "bad");
  EXPECT_EQ(icons, std::vector<MessageIcon>{MessageIcon::Error});
  EXPECT_EQ(plain.size(), 2u);
  SetMessageDlgHandler(oldDlg);
  SetMessageHandler(oldPlain);
}
