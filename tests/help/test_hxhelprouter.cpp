// The help router against a recording viewer library and a stand-in
// application: what each help command turns into, and the router's life.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <optional>
#include <string>
#include <vector>

#include "help/hxhelprouter.h"
#include "platform/appdir.h"

using namespace help;

namespace {

struct TCall {
  THelpWindow caller;
  std::optional<std::string> file;  // nullopt: no file passed
  uint32_t command;
  uintptr_t data;
  // The popup record as the viewer saw it during the call.
  std::optional<THHPopup> popup;
  std::string popupText;
};

std::vector<TCall> g_calls;
THelpWindow g_answer = 77;

THelpWindow Record(THelpWindow caller, const char* file, uint32_t command, uintptr_t data) {
  TCall call{caller, file ? std::optional<std::string>(file) : std::nullopt, command, data, {}, {}};
  if (command == HH_DISPLAY_TEXT_POPUP && data) {
    call.popup = *reinterpret_cast<const THHPopup*>(data);
    call.popupText = call.popup->pszText ? call.popup->pszText : "(null)";
  }
  g_calls.push_back(call);
  return g_answer;
}

std::vector<TCall> g_winHelp;
int g_winHelpAnswer = 1;
int RecordWinHelp(THelpWindow window, const char* file, uint32_t command, uintptr_t data) {
  g_winHelp.push_back({window, std::string(file ? file : ""), command, data, {}, {}});
  return g_winHelpAnswer;
}

// The application object and its forms as a test sets them up.
class TFakeApplication : public THelpApplication {
 public:
  THelpEvent OnHelp() const override { return handler; }
  void SetOnHelp(THelpEvent h) override { handler = std::move(h); }
  bool HelpCommand(uint16_t command, int32_t data) override {
    bool callHelp = true;
    return handler ? handler(command, data, callHelp) : false;
  }
  std::string HelpFile() const override { return helpFile; }
  bool HandleAllocated() const override { return true; }
  THelpWindow Handle() const override { return 900; }
  const void* ActiveForm() const override { return activeForm; }
  THelpForm FormInfo(const void* form) const override { return form == &formA ? formA : formB; }
  THHPoint CursorPos() const override { return cursor; }

  THelpEvent handler;
  std::string helpFile;
  const void* activeForm = nullptr;
  THelpForm formA{501, ""};
  THelpForm formB{502, ""};
  THHPoint cursor{33, 44};
};

void InstallRecorder() {
  void* library = dlopen(RECORDING_VIEWER, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(library, nullptr);
  auto set = reinterpret_cast<void (*)(THtmlHelpProc)>(dlsym(library, "SetRecorder"));
  ASSERT_NE(set, nullptr);
  set(&Record);
  dlclose(library);
}

class Router : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    g_winHelp.clear();
    g_answer = 77;
    g_winHelpAnswer = 1;
    SetWinHelpProc(&RecordWinHelp);
    ResetHtmlHelp();
    SetHtmlHelpLibraryPath(RECORDING_VIEWER);
    ASSERT_TRUE(LoadHtmlHelp());
    InstallRecorder();
    ResetHtmlHelp();
  }
  void TearDown() override {
    router.reset();
    SetWinHelpProc(nullptr);
    SetHtmlHelpLibraryPath("");
    ResetHtmlHelp();
  }

  // The program's router: HTML route, "connect.txt", the help file beside the program.
  THelpRouter& MakeRouter(THelpType type = THelpType::htHTMLhelp) {
    router = std::make_unique<THelpRouter>(nullptr, app, &app.formA);
    router->SetHelpType(type);
    router->CHMPopupTopics = "connect.txt";
    router->Helpfile = "/opt/zorvik/Zorvik.chm";
    return *router;
  }

  // The command as the application's help command gives it, with CallHelp after it.
  bool Send(uint16_t command, int32_t data, bool* callHelpAfter = nullptr) {
    bool callHelp = true;
    const bool result = app.handler(command, data, callHelp);
    if (callHelpAfter) *callHelpAfter = callHelp;
    return result;
  }

  TFakeApplication app;
  std::unique_ptr<THelpRouter> router;
};

int32_t Pack(int x, int y) { return static_cast<int32_t>((static_cast<uint32_t>(y) << 16) | (x & 0xFFFF)); }

}  // namespace

TEST_F(Router, EveryRowOfTheTableOnTheHtmlRoute) {
  MakeRouter();
  const std::string chm = "/opt/zorvik/Zorvik.chm";
  struct Row {
    uint16_t command;
    int32_t data;
    std::optional<std::string> file;
    uint32_t viewerCommand;
    uintptr_t viewerData;
  };
  const Row rows[] = {
      {1, 1005, chm, HH_HELP_CONTEXT, 1005},
      {2, 0, std::nullopt, HH_CLOSE_ALL, 0},
      {3, 0, chm, HH_DISPLAY_TOC, 0},
      {11, 0, chm, HH_DISPLAY_TOC, 0},
      {15, 0, chm, HH_DISPLAY_TOC, 0},
      {15, 4, chm, HH_DISPLAY_INDEX, 0},
      // A keyword pointer cut to 32 bits is never passed on: the index opens at its top.
      {257, 0x12345678, chm, HH_DISPLAY_INDEX, 0},
      {261, 0x12345678, chm, HH_DISPLAY_INDEX, 0},
  };
  for (const Row& row : rows) {
    g_calls.clear();
    bool callHelp = true;
    EXPECT_TRUE(Send(row.command, row.data, &callHelp)) << row.command;
    EXPECT_FALSE(callHelp);
    ASSERT_EQ(g_calls.size(), 1u) << row.command;
    EXPECT_EQ(g_calls[0].caller, 0u);
    EXPECT_EQ(g_calls[0].file, row.file) << row.command;
    EXPECT_EQ(g_calls[0].command, row.viewerCommand) << row.command;
    EXPECT_EQ(g_calls[0].data, row.viewerData) << row.command;
  }

  // The viewer's failure is the command's failure.
  g_answer = 0;
  g_calls.clear();
  EXPECT_FALSE(Send(1, 1005));
  EXPECT_EQ(g_calls.size(), 1u);

  // Commands outside the table are served as failures and go no further.
  for (uint16_t other : {uint16_t(0), uint16_t(4), uint16_t(9), uint16_t(258)}) {
    g_calls.clear();
    bool callHelp = true;
    EXPECT_FALSE(Send(other, 5, &callHelp)) << other;
    EXPECT_FALSE(callHelp);
    EXPECT_TRUE(g_calls.empty());
  }
  EXPECT_TRUE(g_winHelp.empty());
}

TEST_F(Router, TheHelpFileTakesTheChmExtensionAndFallsBackToTheForms) {
  THelpRouter& r = MakeRouter();
  r.Helpfile = "/opt/zorvik/help.hlp";
  EXPECT_TRUE(r.ShowHelpContents());
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].file, "/opt/zorvik/help.chm");
  EXPECT_EQ(g_calls[0].command, HH_DISPLAY_TOC);

  // No file of its own: the application's, replaced by the active form's when that has a window.
  r.Helpfile.clear();
  app.helpFile = "/app/apphelp.hlp";
  app.activeForm = &app.formB;
  app.formB = {502, "/forms/b.hlp"};
  g_calls.clear();
  Send(1, 7);
  EXPECT_EQ(g_calls.at(0).file, "/forms/b.chm");
  app.formB.Handle = 0;
  g_calls.clear();
  Send(1, 7);
  EXPECT_EQ(g_calls.at(0).file, "/app/apphelp.chm");

  // Nothing anywhere: the viewer gets ".chm" alone and its answer stands.
  app.helpFile.clear();
  g_answer = 0;
  g_calls.clear();
  EXPECT_FALSE(Send(3, 0));
  EXPECT_EQ(g_calls.at(0).file, ".chm");
}

TEST_F(Router, ContextPopupsAtTheGivenPointOrTheMouse) {
  MakeRouter();
  app.activeForm = &app.formB;
  EXPECT_FALSE(Send(13, Pack(100, 200)));
  EXPECT_TRUE(g_calls.empty());
  EXPECT_EQ(router->PopupPoint().x, 100);
  EXPECT_EQ(router->PopupPoint().y, 200);

  EXPECT_TRUE(Send(8, 1005));
  ASSERT_EQ(g_calls.size(), 1u);
  const TCall& popup = g_calls[0];
  EXPECT_EQ(popup.caller, 502u);  // the active form's window
  EXPECT_EQ(popup.file, "/opt/zorvik/Zorvik.chm::/connect.txt");
  EXPECT_EQ(popup.command, HH_DISPLAY_TEXT_POPUP);
  ASSERT_TRUE(popup.popup);
  EXPECT_EQ(popup.popup->cbStruct, static_cast<int32_t>(sizeof(THHPopup)));
  EXPECT_EQ(popup.popup->idString, 1005u);
  EXPECT_EQ(popup.popupText, "");
  EXPECT_EQ(popup.popup->pt.x, 100);
  EXPECT_EQ(popup.popup->pt.y, 200);
  EXPECT_EQ(popup.popup->clrForeground, -1);
  EXPECT_EQ(popup.popup->clrBackground, -1);
  EXPECT_EQ(popup.popup->rcMargins.left, -1);
  EXPECT_STREQ(popup.popup->pszFont, "MS Sans Serif, 8");
  EXPECT_EQ(router->PopupPoint().x, 0);

  // A second popup without a new point, and a point of (0, 0), show at the mouse.
  g_calls.clear();
  Send(8, 1006);
  Send(13, Pack(0, 0));
  Send(8, 1007);
  ASSERT_EQ(g_calls.size(), 2u);
  for (const TCall& c : g_calls) {
    EXPECT_EQ(c.popup->pt.x, 33);
    EXPECT_EQ(c.popup->pt.y, 44);
  }

  // Negative coordinates keep their sign: a low half of 65,526 is X = -10.
  Send(13, static_cast<int32_t>((uint32_t(20) << 16) | 65526u));
  EXPECT_EQ(router->PopupPoint().x, -10);
  EXPECT_EQ(router->PopupPoint().y, 20);
  Send(13, Pack(5, -3));
  EXPECT_EQ(router->PopupPoint().y, -3);
}

TEST_F(Router, PopupsWithTextOrWithoutContextPassNoFile) {
  THelpRouter& r = MakeRouter();
  EXPECT_TRUE(r.ShowHtmlPopup(10, 20, 1005, "Vlastn\xED text"));
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].file, std::nullopt);
  EXPECT_EQ(g_calls[0].popup->idString, 0u);
  EXPECT_EQ(g_calls[0].popupText, "Vlastn\xED text");
  EXPECT_EQ(g_calls[0].caller, 501u);  // no active form: the router's own form

  g_calls.clear();
  EXPECT_TRUE(r.ShowHtmlPopup(10, 20, 0, ""));
  EXPECT_EQ(g_calls.at(0).file, std::nullopt);
  EXPECT_EQ(g_calls.at(0).popupText, "");

  // An empty topic file name becomes the default one, and stays so.
  r.CHMPopupTopics.clear();
  g_calls.clear();
  r.ShowHtmlPopup(1, 1, 1005, "");
  EXPECT_EQ(g_calls.at(0).file, "/opt/zorvik/Zorvik.chm::/CSHelp.txt");
  EXPECT_EQ(r.CHMPopupTopics, "CSHelp.txt");
}

TEST_F(Router, MainWindowShowTypeTurnsPopupsIntoTopics) {
  MakeRouter();
  router->ShowType = TShowType::stMain;
  EXPECT_TRUE(Send(8, 1005));
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].command, HH_HELP_CONTEXT);
  EXPECT_EQ(g_calls[0].data, 1005u);

  // Command 13 becomes 0: answered false, the point untouched.
  g_calls.clear();
  bool callHelp = true;
  EXPECT_FALSE(Send(13, Pack(100, 200), &callHelp));
  EXPECT_FALSE(callHelp);
  EXPECT_TRUE(g_calls.empty());
  EXPECT_EQ(router->PopupPoint().x, 0);
}

TEST_F(Router, MainWindowShowTypeUnderWinHelp) {
  MakeRouter(THelpType::htWinhelp);
  router->ShowType = TShowType::stMain;
  EXPECT_TRUE(Send(13, Pack(1, 2)));
  EXPECT_TRUE(g_winHelp.empty());
  EXPECT_TRUE(Send(8, 1005));
  ASSERT_EQ(g_winHelp.size(), 1u);
  EXPECT_EQ(g_winHelp[0].command, 1u);
  EXPECT_EQ(g_winHelp[0].file, "/opt/zorvik/Zorvik.hlp");
  EXPECT_EQ(g_winHelp[0].data, 1005u);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(Router, MixedModeSendsPopupsToWinHelpAndTheRestToTheViewer) {
  MakeRouter(THelpType::htMixedMode);
  Send(13, Pack(3, 4));
  Send(8, 1005);
  ASSERT_EQ(g_winHelp.size(), 2u);
  EXPECT_EQ(g_winHelp[0].command, 13u);
  EXPECT_EQ(g_winHelp[1].command, 8u);
  EXPECT_EQ(g_winHelp[1].file, "/opt/zorvik/Zorvik.hlp");
  EXPECT_TRUE(g_calls.empty());
  Send(1, 1005);
  Send(15, 0);
  ASSERT_EQ(g_calls.size(), 2u);
  EXPECT_EQ(g_calls[0].file, "/opt/zorvik/Zorvik.chm");
  EXPECT_EQ(g_winHelp.size(), 2u);
}

TEST_F(Router, WinHelpHasNoViewerHere) {
  SetWinHelpProc(nullptr);
  MakeRouter(THelpType::htWinhelp);
  bool callHelp = true;
  EXPECT_FALSE(Send(1, 1005, &callHelp));
  EXPECT_FALSE(callHelp);
  EXPECT_TRUE(Send(0, 0));  // command 0 calls nothing
}

TEST_F(Router, OnHelpAndTheSavedHandlerAreAskedFirst) {
  std::vector<uint16_t> saved;
  app.handler = [&](uint16_t command, int32_t, bool& callHelp) {
    saved.push_back(command);
    if (command == 3) callHelp = false;
    return command == 3;
  };
  MakeRouter();

  // OnHelp serves the command: its result stands; the saved handler and the viewer are not asked.
  std::vector<std::pair<uint16_t, int32_t>> seen;
  router->OnHelp = [&](uint16_t command, int32_t data, bool& callHelp) {
    seen.emplace_back(command, data);
    callHelp = command != 1;
    return command == 1;
  };
  bool callHelp = true;
  EXPECT_TRUE(Send(1, 1005, &callHelp));
  EXPECT_FALSE(callHelp);
  EXPECT_TRUE(saved.empty());
  EXPECT_TRUE(g_calls.empty());

  // OnHelp passes; the saved handler serves command 3 as it arrived.
  EXPECT_TRUE(Send(3, 0));
  EXPECT_EQ(saved, std::vector<uint16_t>{3});
  EXPECT_TRUE(g_calls.empty());

  // Both pass: the viewer serves it.
  EXPECT_TRUE(Send(15, 0));
  EXPECT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(seen.size(), 3u);
  router->OnHelp = nullptr;
  router.reset();
  app.handler = nullptr;
}

TEST_F(Router, AViewerThatWillNotLoadIsTriedAgainAtEachCommand) {
  SetHtmlHelpLibraryPath("/nonexistent/libhxviewer.so");
  ResetHtmlHelp();
  MakeRouter();
  EXPECT_EQ(HtmlHelpLoadAttempts(), 1);  // the setter tried
  bool callHelp = false;
  EXPECT_FALSE(Send(15, 0, &callHelp));
  EXPECT_TRUE(callHelp);  // left to the application's own help
  EXPECT_FALSE(Send(1, 1005, &callHelp));
  EXPECT_TRUE(callHelp);
  EXPECT_EQ(HtmlHelpLoadAttempts(), 3);
  EXPECT_FALSE(router->ShowHtmlPopup(1, 1, 5, "x"));

  // Once the library is there, the next command loads it.
  SetHtmlHelpLibraryPath(RECORDING_VIEWER);
  EXPECT_TRUE(Send(15, 0, &callHelp));
  EXPECT_FALSE(callHelp);
  EXPECT_EQ(g_calls.size(), 1u);
}

TEST_F(Router, ALibraryWithoutTheEntryStaysLoadedAndUnserved) {
  SetHtmlHelpLibraryPath(ENTRYLESS_VIEWER);
  ResetHtmlHelp();
  MakeRouter();
  bool callHelp = false;
  EXPECT_FALSE(Send(15, 0, &callHelp));
  EXPECT_TRUE(callHelp);
  EXPECT_FALSE(Send(15, 0, &callHelp));
  EXPECT_EQ(HtmlHelpLoadAttempts(), 1);
  EXPECT_EQ(HtmlHelpEntry(), nullptr);
}

TEST_F(Router, OneRouterOnlyAndItsHandlerGivenBackAtTheEnd) {
  int before = 0;
  app.handler = [&](uint16_t, int32_t, bool&) { return ++before > 0; };
  MakeRouter();
  EXPECT_EQ(THelpRouter::Registered(), router.get());
  try {
    THelpRouter second(nullptr, app);
    FAIL() << "a second router came into being";
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.what(), "Multiple instances of THelpRouter are not allowed");
  }
  EXPECT_EQ(THelpRouter::Registered(), router.get());
  EXPECT_TRUE(Send(15, 0));
  EXPECT_EQ(before, 1);  // the first router still routes, with its saved handler

  // Going away: every viewer window closes, no file named, and the old handler returns.
  g_calls.clear();
  router.reset();
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(before, 2);  // the saved handler saw HELP_QUIT first
  EXPECT_EQ(g_calls.back().command, HH_CLOSE_ALL);
  EXPECT_EQ(g_calls.back().file, std::nullopt);
  EXPECT_EQ(THelpRouter::Registered(), nullptr);
  bool callHelp = true;
  app.handler(3, 0, callHelp);
  EXPECT_EQ(before, 3);
  app.handler = nullptr;
}

TEST_F(Router, NoQuitWhenTheApplicationHasAHelpFileOfItsOwn) {
  app.helpFile = "/app/help.chm";
  MakeRouter();
  g_calls.clear();
  router.reset();
  EXPECT_TRUE(g_calls.empty());
  EXPECT_FALSE(app.handler);
}

TEST_F(Router, InDesignModeSeveralRoutersAndNoneInstalled) {
  TComponent form(nullptr);
  form.SetDesigning(true);
  auto* a = new THelpRouter(&form, app);
  auto* b = new THelpRouter(&form, app);
  a->SetHelpType(THelpType::htHTMLhelp);
  EXPECT_EQ(HtmlHelpLoadAttempts(), 0);
  EXPECT_EQ(THelpRouter::Registered(), nullptr);
  EXPECT_FALSE(app.handler);
  EXPECT_EQ(form.Components().size(), 2u);
  (void)b;
}

TEST_F(Router, StoredPropertiesRoundTrip) {
  TComponent form(nullptr);
  form.SetDesigning(true);
  auto* stored = new THelpRouter(&form, app);
  stored->SetName("HelpRouter1");
  stored->SetHelpType(THelpType::htHTMLhelp);
  stored->CHMPopupTopics = "connect.txt";
  TMemoryStream stream;
  TWriter(stream).WriteComponent(form);
  const std::string& bytes = stream.Bytes();
  EXPECT_NE(bytes.find("htHTMLhelp"), std::string::npos);
  EXPECT_NE(bytes.find("ValidateID"), std::string::npos);
  EXPECT_EQ(bytes.find("ShowType"), std::string::npos);  // at its default

  // Read at run time: the setter loads the viewer while the form is read.
  TComponent runForm(nullptr);
  runForm.SetName(form.Name());
  auto* read = new THelpRouter(&runForm, app);
  read->SetName("HelpRouter1");
  stream.SetPosition(0);
  TReader(stream).ReadComponent(runForm);
  EXPECT_EQ(read->HelpType(), THelpType::htHTMLhelp);
  EXPECT_EQ(read->CHMPopupTopics, "connect.txt");
  EXPECT_EQ(HtmlHelpLoadAttempts(), 1);
}

// The library's windows may outlive the application object: it is never unmapped,
// not even when every handle to it has been closed.
TEST_F(Router, TheViewerLibraryStaysLoaded) {
  ASSERT_TRUE(LoadHtmlHelp());
  void* again = dlopen(RECORDING_VIEWER, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(again, nullptr);
  // Close every handle to it, the binding's among them, as an unloading would.
  for (int n = 0; n < 1000 && dlclose(again) == 0; ++n) {
  }
  EXPECT_NE(dlopen(RECORDING_VIEWER, RTLD_NOW | RTLD_NOLOAD), nullptr);
}

// A program folder named beyond code page 1250 (a Russian home): the viewer is
// handed the file by its real name, not by the "?"s of its shown text.
TEST_F(Router, TheViewerGetsTheHelpFileByItsRealName) {
  const std::string real = "/home/\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD/zorvik/";  // Иван
  platform::SetNativeProgramDir(real);
  THelpRouter& r = MakeRouter();
  r.Helpfile = platform::ProgramDir() + "Zorvik.chm";
  EXPECT_NE(r.Helpfile, real + "Zorvik.chm");
  EXPECT_TRUE(r.ShowHelpContents());
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].file, real + "Zorvik.chm");
  platform::SetNativeProgramDir("");
}
