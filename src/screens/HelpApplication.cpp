#include "screens/HelpApplication.h"

#include <QCursor>

#include "toolkit/Application.h"
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
};

}  // namespace

help::THelpApplication& HelpApplication() {
  static TToolkitHelpApplication application;
  return application;
}
