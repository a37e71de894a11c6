#pragma once
// The form: one screen of the program, made once at start-up and kept to the
// end. A screen derives from TForm, builds its controls in its constructor
// and overrides the hooks it needs:
//   FormCreate     once, right after the constructor (TApplication::CreateForm)
//   FormShow       each time it is shown, before it appears
//   FormActivate   each time it becomes the active form, also when a modal
//                  screen over it closes (screens set their texts here)
//   FormCloseQuery asked before closing (close box, Close, Alt+F4); may refuse
//   FormClose      once closing is agreed
//   FormHide       each time it is hidden
// A hook that raises an error shows it in the standard error box; the screen
// stays as it was.

#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/HelpCommands.h"
#include "toolkit/Invoke.h"

namespace toolkit {

// Where a form appears when it is shown.
enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };

// Frame of the window: single and fixed, sizeable, or a notice without any caption buttons.
enum class TBorderStyle { bsSingle, bsSizeable, bsNotice };

class TForm : public QDialog {
  Q_OBJECT

 public:
  explicit TForm(const char* name);
  ~TForm() override;

  std::string Caption() const;
  void SetCaption(const std::string& caption);

  // The client area (what lies inside the frame).
  void SetClientSize(int width, int height);
  int ClientWidth() const { return width(); }
  int ClientHeight() const { return height(); }
  void SetClientHeight(int height);
  // The outer height as the screens' own sizes reckon it: the client height
  // and a fixed 26 for caption bar and border, the frame their heights were
  // laid out for. The frame the window manager really draws is another size;
  // PlaceOnScreen asks the window for that one.
  int Height() const { return height() + kNonClientHeight; }
  void SetHeight(int outer) { SetClientHeight(outer - kNonClientHeight); }
  static constexpr int kNonClientHeight = 26;

  void SetPosition(TPosition position) { position_ = position; }
  TPosition Position() const { return position_; }
  void SetBorderStyle(TBorderStyle style);
  // The caption bar's help button (the system menu and close box are always there).
  void SetHelpButton(bool on);

  int32_t HelpContext() const;
  void SetHelpContext(int32_t context);
  // The form's own help file and help handler; no screen of the program sets them.
  std::string HelpFile;
  THelpEvent OnHelp;

  // Shows the form modally; returns when it has closed.
  int ShowModal();
  // Closes the form as its close box does: FormCloseQuery, FormClose, hide.
  void Close();
  // Makes the form the active one, running FormActivate when it was not.
  void Activate();
  static TForm* ActiveForm();
  // The program's main form, as the application object names it (the first
  // form it creates); null when there is none or it is gone. When the main
  // form has closed, onClosed runs: the application object ends its loop.
  static TForm* MainForm();
  static void SetMainForm(TForm* form, std::function<void()> onClosed);

  virtual void FormCreate() {}
  virtual void FormShow() {}
  virtual void FormActivate() {}
  virtual void FormCloseQuery(bool& CanClose) {}
  virtual void FormClose() {}
  virtual void FormHide() {}

  // Test seam: in test mode a modal showing runs the next queued action inside
  // its message loop (after FormShow and FormActivate); without one, or when
  // the action leaves it open, the form is closed as by its close box.
  static void QueueModal(std::function<void(TForm&)> action);
  // Names of the forms shown modally in test mode while recording, in order.
  static const std::vector<std::string>& ShownModals();
  static void ClearModals();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void PlaceOnScreen();
  void UpdateFlags();

  TPosition position_ = TPosition::poDesigned;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  bool helpButton_ = false;
  QPointer<TForm> activeBefore_;
};

}  // namespace toolkit
