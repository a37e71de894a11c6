#pragma once
// The application object: title, help file name, the help command with its
// replaceable handler, the command line, the main form and the message loop.
// An exception that escapes an event handler is shown in the standard error
// box and the program goes on.

#include <QApplication>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "toolkit/HelpCommands.h"
#include "toolkit/Invoke.h"
#include "toolkit/TestMode.h"

namespace toolkit {

class TForm;

class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  // Caption of the standard error box; code page 1250.
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);

  // The application's own help file name; the program keeps it empty.
  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(const std::string& file) { helpFile_ = file; }

  // The replaceable help handler (none at start).
  const THelpEvent& OnHelp() const { return onHelp_; }
  void SetOnHelp(THelpEvent handler) { onHelp_ = std::move(handler); }

  // Hands the command to the active form's own handler when it has one, else
  // to the application's handler, with CallHelp true. The platform's own help
  // would follow when CallHelp stayed true and the result is false; there is
  // none here, so the result is then false.
  bool HelpCommand(uint16_t Command, int32_t Data);

  // Creates a screen and its global instance, as the start-up does: the first
  // form created becomes the main form; its FormCreate runs at once. An error
  // raised while a screen is created is shown and the start-up goes on. The
  // forms still there when the application object goes are freed, the last
  // created first.
  template <class T>
  void CreateForm(T*& reference) {
    Invoke([&] { reference = new T(); });
    if (reference) FormCreated(reference);
  }
  TForm* MainForm() const;

  // Shows the main form and runs the message loop until Terminate.
  int Run();
  // Ends the message loop (after the current event).
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The command line: 0 the program, 1 the first argument; "" beyond the last.
  // Code page 1250 path text, like every path of the program (CommandLine).
  std::string ParamStr(int index) const;
  // The arguments as the program holds them: each one the file system's
  // bytes, a name beyond code page 1250 kept whole (platform::PathText).
  static std::vector<std::string> CommandLine(int argc, char** argv);
  int ParamCount() const { return static_cast<int>(params_.size()) - 1; }
  // Replaces the arguments after the program's own path (tests).
  void SetParams(const std::vector<std::string>& args);

  // The standard error box: the error's message under the application's title.
  void ShowException(const std::exception& e);

  // Qt's own texts (Yes, No, Open, Cancel, ...) in the language of the locale,
  // from Qt's translations; the start takes the user's locale. False when Qt
  // has no translation for it: the texts are then English. Our own texts in
  // Qt's dialogs follow the same language.
  bool LoadQtTranslations(const QLocale& locale);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void FormCreated(TForm* form);

  std::string title_;
  std::string helpFile_;
  THelpEvent onHelp_;
  std::vector<QPointer<QObject>> forms_;
  std::vector<std::string> params_;
  platform::MessageHandler previousMessageHandler_;
  QPointer<QTranslator> qtTranslator_;
  QPointer<QTranslator> ownTranslator_;
  bool running_ = false;
  bool terminated_ = false;
};

// The one application object, or null before it exists.
TApplication* Application();

}  // namespace toolkit
