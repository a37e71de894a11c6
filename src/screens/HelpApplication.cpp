#include "screens/HelpApplication.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMetaObject>

#include "model/uDApp.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Forms.h"

namespace {

using toolkit::Application;
using toolkit::TForm;

help::THelpWindow WindowOf(const QWidget* widget) {
  return widget && widget->windowHandle() ? reinterpret_cast<help::THelpWindow>(widget) : 0;
}

class TToolkitHelpApplication : public help::THelpApplication {
 public:
  help::THelpEvent OnHelp() const override { return Application() ? Application()->OnHelp() : nullptr; }
  void SetOnHelp(help::THelpEvent handler) override {
    if (Application()) Application()->SetOnHelp(std::move(handler));
  }
  bool HelpCommand(uint16_t command, int32_t data) override {
    return Application() && Application()->HelpCommand(command, data);
  }
  std::string HelpFile() const override { return Application() ? Application()->HelpFile() : std::string(); }
  bool HandleAllocated() const override { return Application() != nullptr; }
  help::THelpWindow Handle() const override { return Application() ? WindowOf(Application()->MainForm()) : 0; }
  const void* ActiveForm() const override { return TForm::ActiveForm(); }
  help::THelpForm FormInfo(const void* form) const override {
    const auto* f = static_cast<const TForm*>(form);
    if (!f) return {};
    return {WindowOf(f), f->HelpFile};
  }
  help::THHPoint CursorPos() const override {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
  }
  // Help is asked for from inside the input watch (F1) as well: the box
  // waits for the message loop, and one request shows one box.
  void HelpFailed(help::THelpFailure reason, const std::string& file) override {
    if (reason == help::THelpFailure::None || pending_ || !QCoreApplication::instance()) return;
    pending_ = true;
    std::string text;
    switch (reason) {
      case help::THelpFailure::None: break;
      case help::THelpFailure::FileMissing: text = LangText("SouborNapovedyChybi"); break;
      case help::THelpFailure::FileDamaged: text = LangText("SouborNapovedyJePoskozen"); break;
      case help::THelpFailure::ViewerMissing: text = LangText("ProhlizecNapovedyChybiSoubor"); break;
    }
    text += "\n" + file;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this, text] {
          pending_ = false;
          toolkit::MessageBoxes::Inform(LangText("Napoveda"), text);
        },
        Qt::QueuedConnection);
  }

 private:
  bool pending_ = false;
};

}  // namespace

help::THelpApplication& HelpApplication() {
  static TToolkitHelpApplication application;
  return application;
}
