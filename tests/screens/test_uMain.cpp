// The information screen: captions and the value labels placed after them in
// any language, the version of the running program, the links and their colours.
#include <QMouseEvent>
#include <QUrlQuery>

#include "model/Product.h"
#include "platform/profile.h"
#include "platform/qtgui/shell.h"
#include "screens/uMain.h"
#include "support/ScreenFixture.h"

using namespace toolkit;

namespace {

class Information : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    platform::SetOpenUrlHandler([this](const QUrl& url) {
      opened.push_back(url);
      return true;
    });
  }

  void TearDown() override {
    platform::SetOpenUrlHandler(nullptr);
    platform::SetProgramFile("");
    ScreenTest::TearDown();
  }

  void SetText(const std::string& section, const std::string& key, const std::string& text) {
    platform::ProfileFile(dir.File("jazyk.ini")).WriteString(section, key, text);
  }

  // Opens the screen from the menu and runs the check inside it.
  void FromMenu(const std::function<void(TForm&)>& inside) {
    TForm::QueueModal(inside);
    fMenu->bInfo->click();
    ASSERT_EQ(TForm::ShownModals(), std::vector<std::string>{"fMain"});
  }

  // Every value starts 10 pixels after its caption.
  static void ExpectValuesAfterCaptions(const TForm& form) {
    const std::pair<const char*, const char*> rows[] = {
        {"lJPrg", "loJPrg"},  {"lVPrg", "loVPrg"},  {"Label9", "Label10"}, {"Label1", "Label2"},
        {"Label3", "Label4"}, {"Label5", "Label6"}, {"Label8", "Label7"}};
    for (const auto& [caption, value] : rows) {
      SCOPED_TRACE(caption);
      const TLabel* c = Find<TLabel>(&form, caption);
      const TLabel* v = Find<TLabel>(&form, value);
      EXPECT_EQ(v->x(), c->x() + c->width() + 10);
      EXPECT_EQ(v->y(), c->y());
    }
  }

  std::vector<QUrl> opened;
};

TEST_F(Information, ShowsTheProgramItsVersionAndItsMakerWithValuesAfterTheCaptions) {
  Start();
  FromMenu([](TForm& form) {
    EXPECT_EQ(form.Caption(), "Informace");
    EXPECT_EQ(form.ClientWidth(), 367);
    EXPECT_EQ(form.ClientHeight(), 222);
    EXPECT_EQ(Find<TLabel>(&form, "lJPrg")->Caption(), Cp1250("Jméno programu:"));
    EXPECT_EQ(Find<TLabel>(&form, "loJPrg")->Caption(), "Zorvik");
    EXPECT_EQ(Find<TLabel>(&form, "lVPrg")->Caption(), "Verze:");
    EXPECT_EQ(Find<TLabel>(&form, "loVPrg")->Caption(), ZORVIK_FILE_VERSION_TEXT);
    EXPECT_EQ(Find<TLabel>(&form, "Label9")->Caption(), "Licence:");
    EXPECT_EQ(Find<TLabel>(&form, "Label10")->Caption(), product::kLicence);
    EXPECT_EQ(Find<TLabel>(&form, "Label1")->Caption(), Cp1250("Stránky programu:"));
    EXPECT_EQ(Find<TLabel>(&form, "Label2")->Caption(), product::kWebPage);
    EXPECT_EQ(Find<TLabel>(&form, "Label4")->Caption(), product::kEmail);
    EXPECT_EQ(Find<TLabel>(&form, "Label6")->Caption(), product::kAuthor);
    EXPECT_EQ(Find<TLabel>(&form, "Label7")->Caption(), product::kAuthorEmail);
    EXPECT_EQ(Find<TButton>(&form, "bZavrit")->Caption(), Cp1250("Zavřít"));
    EXPECT_EQ(Find<TButton>(&form, "bZavrit")->HelpContext(), 1000);
    const TImage* icon = Find<TImage>(&form, "Ikona");
    ASSERT_TRUE(icon->HasPicture());
    EXPECT_EQ(icon->Picture().size(), QSize(32, 32));
    EXPECT_GT(qAlpha(icon->Picture().pixel(16, 16)), 0);
    ExpectValuesAfterCaptions(form);
    Find<TButton>(&form, "bZavrit")->click();
    EXPECT_FALSE(form.isVisible());
  });
}

TEST_F(Information, LongerCaptionsMoveTheValuesAndTheScreenKeepsItsSize) {
  Start();
  int czech = 0;
  FromMenu([&](TForm& form) { czech = Find<TLabel>(&form, "Label2")->x(); });
  TForm::ClearModals();

  Settings.pJazyk = "English";
  SetText("English", "StrankyProgramu", "Web page of the program and its makers");
  FromMenu([&](TForm& form) {
    EXPECT_EQ(form.Caption(), "Information");
    EXPECT_EQ(Find<TLabel>(&form, "Label1")->Caption(), "Web page of the program and its makers:");
    EXPECT_GT(Find<TLabel>(&form, "Label2")->x(), czech);
    ExpectValuesAfterCaptions(form);
    EXPECT_EQ(form.ClientWidth(), 367);
    EXPECT_EQ(form.ClientHeight(), 222);
  });
}

TEST_F(Information, AMissingKeyShowsItsPlaceholderAndTheValueFollowsIt) {
  SetText(
      "\xC8"
      "esky",
      "Licence", "");
  Start();
  FromMenu([](TForm& form) {
    EXPECT_EQ(Find<TLabel>(&form, "Label9")->Caption(), "!_Licence:");
    ExpectValuesAfterCaptions(form);
  });
}

TEST_F(Information, AProgramWithoutAVersionRecordSaysSo) {
  testsupport::WriteBytes(dir.File("zorvik"), "#!/bin/sh\n");
  platform::SetProgramFile(dir.File("zorvik"));
  Start();
  EXPECT_EQ(fMain->loVPrg->Caption(), "Version information not included in this file");
}

TEST_F(Information, LinksTurnBlueUnderTheMouseAndBlackWhenItLeaves) {
  Start();
  for (TLabel* link : {fMain->Label2, fMain->Label4, fMain->Label7}) {
    SCOPED_TRACE(link->objectName().toStdString());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), link->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(link, &move);
    EXPECT_EQ(link->FontColor(), QColor(0, 0, 255));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_EQ(link->FontColor(), QColor(0, 0, 0));
  }
  // The other labels are no links.
  EXPECT_NE(fMain->Label6->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(Information, TheWebLinkOpensThePageAndTheMailLinksCarryTheSubjectExactly) {
  SetText(
      "\xC8"
      "esky",
      "EmailOdUzivateleAppZorvik", "Dotaz & p\xF8ipom\xEDnka #2 + d\xEDky 100%");
  Start();
  FromMenu([](TForm& form) {
    Click(Find<TLabel>(&form, "Label2"));
    Click(Find<TLabel>(&form, "Label4"));
    Click(Find<TLabel>(&form, "Label7"));
    Click(Find<TLabel>(&form, "Label6"));
  });
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[0], QUrl(QString::fromLatin1(product::kWebPage)));

  const QByteArray subject = "?subject=Dotaz%20%26%20p%C5%99ipom%C3%ADnka%20%232%20%2B%20d%C3%ADky%20100%25";
  EXPECT_EQ(opened[1].toEncoded(), QByteArray("mailto:") + product::kEmail + subject);
  EXPECT_EQ(opened[2].toEncoded(), QByteArray("mailto:") + product::kAuthorEmail + subject);
  for (const QUrl& mail : {opened[1], opened[2]}) {
    EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(QUrlQuery(mail).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral(u"Dotaz & připomínka #2 + díky 100%"));
  }
}

}  // namespace
