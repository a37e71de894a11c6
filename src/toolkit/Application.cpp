#include "toolkit/Application.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "toolkit/Dialogs.h"
#include "toolkit/Fonts.h"
#include "toolkit/Forms.h"
#include "toolkit/Text.h"
#include "platform/cp1250.h"
#include "platform/profile.h"

namespace toolkit {

namespace {
TApplication* g_application = nullptr;
}  // namespace

TApplication* Application() { return g_application; }

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  g_application = this;
  SetErrorBox([](const std::exception& e) { g_application->ShowException(e); });
  // Qt has taken its own options out of argv by now.
  params_ = CommandLine(argc, argv);
  if (params_.empty()) params_.push_back("");
  title_ = PathFromQ(QFileInfo(PathToQ(params_[0])).completeBaseName());
  setQuitOnLastWindowClosed(false);

  InstallFontSubstitutions();
  setFont(FontPt("MS Sans Serif", 8));

  LoadQtTranslations(QLocale::system());

  // Informing boxes raised below the screens (the test loader's) become real boxes.
  previousMessageHandler_ = platform::SetMessageHandler(
      [](const std::string& caption, const std::string& text) { MessageBoxes::Inform(caption, text); });
}

TApplication::~TApplication() {
  for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) delete it->data();
  TForm::SetMainForm(nullptr, nullptr);
  platform::SetMessageHandler(std::move(previousMessageHandler_));
  SetErrorBox(nullptr);
  g_application = nullptr;
}

// Not the display name: Qt would append that to every window caption.
void TApplication::SetTitle(const std::string& title) { title_ = title; }

bool TApplication::HelpCommand(uint16_t Command, int32_t Data) {
  bool callHelp = true;
  bool result = false;
  TForm* form = TForm::ActiveForm();
  if (form && form->OnHelp) {
    result = form->OnHelp(Command, Data, callHelp);
  } else if (onHelp_) {
    result = onHelp_(Command, Data, callHelp);
  }
  // No platform help viewer stands behind the handler: an unserved command stays unserved.
  return result;
}

TForm* TApplication::MainForm() const { return TForm::MainForm(); }

void TApplication::FormCreated(TForm* form) {
  if (!TForm::MainForm()) TForm::SetMainForm(form, [this] { Terminate(); });
  forms_.emplace_back(form);
  Invoke([form] { form->FormCreate(); });
}

int TApplication::Run() {
  if (terminated_) return 0;
  if (TForm* main = MainForm()) {
    // The main form's first showing is one burst, however many handlers it runs.
    platform::ProfileBatch batch;
    main->show();
    try {
      batch.End();
    } catch (const std::exception& e) {
      ShowException(e);
    }
  }
  if (terminated_) return 0;
  running_ = true;
  const int rc = exec();
  running_ = false;
  return rc;
}

void TApplication::Terminate() {
  terminated_ = true;
  // Without a running loop (tests) there is nothing to end; ending one that
  // is not there would make every later loop return at once.
  if (running_) exit(0);
}

std::vector<std::string> TApplication::CommandLine(int argc, char** argv) {
  std::vector<std::string> params;
  for (int i = 0; i < argc; ++i) params.push_back(platform::PathText(argv[i]));
  return params;
}

std::string TApplication::ParamStr(int index) const {
  if (index < 0 || index >= static_cast<int>(params_.size())) return "";
  return params_[static_cast<size_t>(index)];
}

void TApplication::SetParams(const std::vector<std::string>& args) {
  params_.resize(1);
  params_.insert(params_.end(), args.begin(), args.end());
}

bool TApplication::LoadQtTranslations(const QLocale& locale) {
  for (QPointer<QTranslator>* old : {&qtTranslator_, &ownTranslator_}) {
    if (!*old) continue;
    removeTranslator(*old);
    delete old->data();
  }
  auto* translator = new QTranslator(this);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  installTranslator(translator);
  qtTranslator_ = translator;
  // Our texts inside Qt's dialogs speak the language Qt's texts there speak.
  ownTranslator_ = NewOwnTranslator(locale, this);
  if (ownTranslator_) installTranslator(ownTranslator_);
  return true;
}

void TApplication::ShowException(const std::exception& e) { MessageBoxes::Error(title_, e.what()); }

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowException(e);
  }
  return false;
}

}  // namespace toolkit
