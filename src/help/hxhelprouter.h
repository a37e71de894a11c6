#pragma once
// The help router: a component that installs itself as the application's help
// handler and sends every help command, in WinHelp numbering, either to WinHelp
// against a ".hlp" file or to the help viewer against a ".chm" file,
// translating the command on the way. One router per program.
//
// The router stands below the toolkit, so it sees the application object and
// its forms through THelpApplication, which the program implements over them.

#include <cstdint>
#include <functional>
#include <string>

#include "help/hxcomponent.h"
#include "help/hxhhapi.h"

namespace help {

// A help request handler: WinHelp command, datum, and CallHelp, which enters
// true and is cleared by a handler that has served the command.
using THelpEvent = std::function<bool(uint16_t Command, int32_t Data, bool& CallHelp)>;

// A form as the router needs it: its window (0 while it has none) and its own
// help file name.
struct THelpForm {
  THelpWindow Handle = 0;
  std::string HelpFile;
};

// What the router needs of the application object, its screens and the mouse.
// Forms are named by an opaque identity (the toolkit's form object); null is none.
class THelpApplication {
 public:
  virtual ~THelpApplication() = default;
  virtual THelpEvent OnHelp() const = 0;
  virtual void SetOnHelp(THelpEvent handler) = 0;
  // The application's help command: the handler first, with CallHelp true.
  virtual bool HelpCommand(uint16_t command, int32_t data) = 0;
  virtual std::string HelpFile() const = 0;
  virtual bool HandleAllocated() const = 0;
  virtual THelpWindow Handle() const = 0;
  // The screen's active form, or else its active custom form; null for none.
  virtual const void* ActiveForm() const = 0;
  virtual THelpForm FormInfo(const void* form) const = 0;
  virtual THHPoint CursorPos() const = 0;
  // A help request failed: the help file (code page 1250) is missing or
  // damaged, or a part of the viewer is missing. The program tells the user.
  virtual void HelpFailed(THelpFailure reason, const std::string& file) {
    (void)reason;
    (void)file;
  }
};

enum class THelpType : uint8_t { htWinhelp, htHTMLhelp, htMixedMode };
enum class TShowType : uint8_t { stDefault, stMain, stPopup };

class THelpRouter : public TComponent {
 public:
  // Installs the router as the application's help handler, keeping the one
  // before it. ownerForm is the form the router lies on: its help applies when
  // no form is active. A second router raises "Multiple instances of
  // THelpRouter are not allowed".
  THelpRouter(TComponent* owner, THelpApplication& application, const void* ownerForm = nullptr);
  // Closes every help window (HELP_QUIT) while the application's help file is
  // empty, and gives the application its handler back.
  ~THelpRouter() override;
  std::string ClassName() const override { return "THelpRouter"; }

  THelpType HelpType() const { return helpType_; }
  // Loads the viewer when the type needs it.
  void SetHelpType(THelpType value);
  TShowType ShowType = TShowType::stDefault;
  // Help file; when empty, the active form's or the application's.
  std::string Helpfile;
  // The topic file inside the ".chm" that holds the popup texts.
  std::string CHMPopupTopics = "CSHelp.txt";
  // Stored with the component; nothing reads it.
  bool ValidateID = false;
  // Asked first, before the handler that was installed before the router.
  THelpEvent OnHelp;

  // The table of contents: the application's help command (HELP_TAB, 0).
  bool ShowHelpContents();
  // The handler every help command of the program reaches.
  bool RouteHelpCommand(uint16_t Command, int32_t Data, bool& CallHelp);
  // A text popup at a screen point: Text, or else the topic of Context in the
  // popup topic file.
  bool ShowHtmlPopup(int32_t X, int32_t Y, int32_t Context, const std::string& Text);

  // The point the next context popup shows at; (0, 0) is not set.
  THHPoint PopupPoint() const { return popupPoint_; }

  void DefineProperties(TFiler& filer) override;

  // The router installed in the program, or null.
  static THelpRouter* Registered();

 private:
  void CheckSingleRouter() const;
  const void* ActiveHelpForm() const;
  std::string ResolveHelpFile() const;
  THelpWindow HelpWindowHandle() const;
  // A viewer call; one that shows nothing for a reason the viewer names is
  // reported to the application.
  THelpWindow CallViewer(THelpWindow caller, const char* file, uint32_t command, uintptr_t data);

  THelpApplication& application_;
  const void* ownerForm_;
  THelpType helpType_ = THelpType::htWinhelp;
  THelpEvent savedHandler_;
  THHPoint popupPoint_;
  bool installed_ = false;
};

// The file name with its extension (after the last dot of the last path part)
// replaced, or appended when it has none.
std::string ChangeFileExt(const std::string& file, const std::string& ext);

// The point packed in a HELP_SETPOPUP_POS datum: X in the low, Y in the high
// 16 bits, each signed.
THHPoint UnpackPopupPoint(int32_t data);

}  // namespace help
