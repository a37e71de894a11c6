#include "help/hxhelprouter.h"

#include <array>

#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/winhelp.h"

namespace help {

namespace {

// WinHelp commands the router knows.
using platform::HELP_CONTENTS;
using platform::HELP_CONTEXT;
using platform::HELP_CONTEXTPOPUP;
using platform::HELP_FINDER;
using platform::HELP_KEY;
using platform::HELP_PARTIALKEY;
using platform::HELP_QUIT;
using platform::HELP_SETPOPUP_POS;
using platform::HELP_TAB;

THelpRouter* g_registered = nullptr;

// The viewer keeps pointers into these for the length of a call; they are
// reused by every call.
std::string g_resolvedHelpFile;
std::string g_popupText;
THHPopup g_popup;

constexpr std::array<const char*, 3> kHelpTypes = {"htWinhelp", "htHTMLhelp", "htMixedMode"};
constexpr std::array<const char*, 3> kShowTypes = {"stDefault", "stMain", "stPopup"};

// The viewer opens the file by the name the file system knows, which the code
// page 1250 text of a folder beyond that code page (a Russian home) has lost.
THelpWindow ViewerCall(THelpWindow caller, const char* file, uint32_t command, uintptr_t data) {
  THtmlHelpProc entry = HtmlHelpEntry();
  if (!entry) return 0;
  if (!file) return entry(caller, nullptr, command, data);
  const std::string native = platform::NativePath(file);
  return entry(caller, native.c_str(), command, data);
}

// The commands that would show something; the others fail unseen.
bool ShowsHelp(uint16_t command) {
  switch (command) {
    case HELP_CONTEXT:
    case HELP_CONTENTS:
    case HELP_FINDER:
    case HELP_TAB:
    case HELP_KEY:
    case HELP_PARTIALKEY:
    case HELP_CONTEXTPOPUP: return true;
    default: return false;
  }
}

}  // namespace

std::string ChangeFileExt(const std::string& file, const std::string& ext) {
  const size_t slash = file.find_last_of("/\\");
  const size_t dot = file.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return file + ext;
  return file.substr(0, dot) + ext;
}

THHPoint UnpackPopupPoint(int32_t data) {
  const uint32_t u = static_cast<uint32_t>(data);
  return {static_cast<int16_t>(u & 0xFFFF), static_cast<int16_t>(u >> 16)};
}

THelpRouter::THelpRouter(TComponent* owner, THelpApplication& application, const void* ownerForm)
    : TComponent(owner), application_(application), ownerForm_(ownerForm) {
  CheckSingleRouter();
  if (!Designing()) {
    savedHandler_ = application_.OnHelp();
    application_.SetOnHelp(
        [this](uint16_t command, int32_t data, bool& callHelp) { return RouteHelpCommand(command, data, callHelp); });
    g_registered = this;
    installed_ = true;
  }
}

THelpRouter::~THelpRouter() {
  if (installed_) {
    // Every help window closes with the program (the program keeps the application's help file empty).
    if (application_.HandleAllocated() && application_.HelpFile().empty()) application_.HelpCommand(HELP_QUIT, 0);
    application_.SetOnHelp(savedHandler_);
    g_registered = nullptr;
  }
}

THelpRouter* THelpRouter::Registered() { return g_registered; }

void THelpRouter::CheckSingleRouter() const {
  if (g_registered) throw platform::Exception("Multiple instances of THelpRouter are not allowed");
}

void THelpRouter::SetHelpType(THelpType value) {
  if (value == helpType_) return;
  helpType_ = value;
  if ((value == THelpType::htHTMLhelp || value == THelpType::htMixedMode) && !Designing()) HtmlHelpAvailable();
}

const void* THelpRouter::ActiveHelpForm() const {
  if (const void* form = application_.ActiveForm()) return form;
  return ownerForm_;
}

std::string THelpRouter::ResolveHelpFile() const {
  if (!Helpfile.empty()) return Helpfile;
  std::string file = application_.HelpFile();
  if (const void* form = ActiveHelpForm()) {
    const THelpForm info = application_.FormInfo(form);
    if (info.Handle != 0 && !info.HelpFile.empty()) file = info.HelpFile;
  }
  return file;
}

THelpWindow THelpRouter::HelpWindowHandle() const {
  if (const void* form = ActiveHelpForm()) {
    const THelpForm info = application_.FormInfo(form);
    if (info.Handle != 0) return info.Handle;
  }
  return application_.Handle();
}

bool THelpRouter::ShowHelpContents() { return application_.HelpCommand(HELP_TAB, 0); }

bool THelpRouter::RouteHelpCommand(uint16_t Command, int32_t Data, bool& CallHelp) {
  bool result = false;
  if (OnHelp) result = OnHelp(Command, Data, CallHelp);
  if (CallHelp && savedHandler_) result = savedHandler_(Command, Data, CallHelp);
  if (!CallHelp) return result;

  g_resolvedHelpFile = ResolveHelpFile();
  if (ShowType == TShowType::stMain) {
    if (Command == HELP_CONTEXTPOPUP) Command = HELP_CONTEXT;
    else if (Command == HELP_SETPOPUP_POS) Command = 0;
  }
  const bool popupCommand = Command == HELP_CONTEXTPOPUP || Command == HELP_SETPOPUP_POS;
  const bool html = helpType_ == THelpType::htHTMLhelp || (helpType_ == THelpType::htMixedMode && !popupCommand);

  if (!html) {
    if (Command == 0) {
      result = true;
    } else {
      const std::string hlp = ChangeFileExt(g_resolvedHelpFile, ".hlp");
      // The datum travels as the 32-bit value it is; WinHelp never sees a pointer from here.
      result =
          WinHelpA(HelpWindowHandle(), hlp.c_str(), Command, static_cast<uintptr_t>(static_cast<uint32_t>(Data))) != 0;
    }
    CallHelp = false;
    return result;
  }

  if (!HtmlHelpAvailable()) {
    // The user asked for help and would see nothing happen.
    if (ShowsHelp(Command))
      application_.HelpFailed(THelpFailure::ViewerMissing, platform::Utf8ToCp1250(HtmlHelpLibraryPath()));
    return result;
  }
  g_resolvedHelpFile = ChangeFileExt(g_resolvedHelpFile, ".chm");
  const char* chm = g_resolvedHelpFile.c_str();
  switch (Command) {
    case HELP_CONTEXT:
      result = CallViewer(0, chm, HH_HELP_CONTEXT, static_cast<uintptr_t>(static_cast<uint32_t>(Data))) != 0;
      break;
    case HELP_QUIT: result = CallViewer(0, nullptr, HH_CLOSE_ALL, 0) != 0; break;
    case HELP_CONTENTS:
    case HELP_FINDER: result = CallViewer(0, chm, HH_DISPLAY_TOC, 0) != 0; break;
    case HELP_TAB: result = CallViewer(0, chm, Data == 0 ? HH_DISPLAY_TOC : HH_DISPLAY_INDEX, 0) != 0; break;
    case HELP_KEY:
    case HELP_PARTIALKEY:
      // The datum would be a keyword pointer cut to 32 bits: the index opens at its top instead.
      result = CallViewer(0, chm, HH_DISPLAY_INDEX, 0) != 0;
      break;
    case HELP_SETPOPUP_POS:
      popupPoint_ = UnpackPopupPoint(Data);
      result = false;
      break;
    case HELP_CONTEXTPOPUP:
      if (popupPoint_.x == 0 && popupPoint_.y == 0) popupPoint_ = application_.CursorPos();
      ShowHtmlPopup(popupPoint_.x, popupPoint_.y, Data, std::string());
      popupPoint_ = {};
      result = true;
      break;
    default: result = false; break;
  }
  CallHelp = false;
  return result;
}

bool THelpRouter::ShowHtmlPopup(int32_t X, int32_t Y, int32_t Context, const std::string& Text) {
  if (!HtmlHelpAvailable()) return false;
  g_popupText = Text;
  g_popup = THHPopup{};
  g_popup.idString = Text.empty() ? static_cast<uint32_t>(Context) : 0;
  g_popup.pszText = g_popupText.c_str();
  g_popup.pt = {X, Y};
  const uintptr_t record = reinterpret_cast<uintptr_t>(&g_popup);
  if (g_popup.idString != 0) {
    if (CHMPopupTopics.empty()) CHMPopupTopics = "CSHelp.txt";
    g_resolvedHelpFile = ChangeFileExt(ResolveHelpFile(), ".chm") + "::/" + CHMPopupTopics;
    return CallViewer(HelpWindowHandle(), g_resolvedHelpFile.c_str(), HH_DISPLAY_TEXT_POPUP, record) != 0;
  }
  return CallViewer(HelpWindowHandle(), nullptr, HH_DISPLAY_TEXT_POPUP, record) != 0;
}

THelpWindow THelpRouter::CallViewer(THelpWindow caller, const char* file, uint32_t command, uintptr_t data) {
  const THelpWindow shown = ViewerCall(caller, file, command, data);
  if (shown == 0) {
    std::string named;
    const THelpFailure reason = HtmlHelpLastFailure(named);
    if (reason != THelpFailure::None) application_.HelpFailed(reason, platform::Utf8ToCp1250(named));
  }
  return shown;
}

void THelpRouter::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.EnumProperty(
      "HelpType", kHelpTypes, [this] { return static_cast<int>(helpType_); },
      [this](int v) { SetHelpType(static_cast<THelpType>(v)); }, true);
  filer.EnumProperty(
      "ShowType", kShowTypes, [this] { return static_cast<int>(ShowType); },
      [this](int v) { ShowType = static_cast<TShowType>(v); }, ShowType != TShowType::stDefault);
  filer.StringProperty(
      "Helpfile", [this] { return Helpfile; }, [this](const std::string& v) { Helpfile = v; }, !Helpfile.empty());
  filer.StringProperty(
      "CHMPopupTopics", [this] { return CHMPopupTopics; }, [this](const std::string& v) { CHMPopupTopics = v; },
      !CHMPopupTopics.empty());
  filer.BooleanProperty(
      "ValidateID", [this] { return ValidateID; }, [this](bool v) { ValidateID = v; }, true);
}

}  // namespace help
