#pragma once
// Message boxes and the open, save, picture and font dialogs. In test mode
// each takes its answer from a queue instead of waiting for a person, and
// while recording is on it keeps what it showed (see toolkit/TestMode.h).

#include <QFont>
#include <QObject>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/qtgui/fontface.h"

class QFileDialog;
class QLocale;
class QTranslator;

namespace toolkit {

// Message boxes

enum class TMsgIcon { None, Warning, Error, Information };
enum class TMsgButton { Ok, Yes, No };

struct TShownBox {
  std::string Caption;
  std::string Text;
  TMsgIcon Icon = TMsgIcon::None;
  std::vector<TMsgButton> Buttons;
  TMsgButton Answer = TMsgButton::Ok;
  bool Queued = false;  // the answer came from the test queue
};

class MessageBoxes {
 public:
  // A confirmation: Yes and No with the warning icon; true for Yes.
  static bool AskYesNo(const std::string& caption, const std::string& text);
  // An informing box: OK and no icon.
  static void Inform(const std::string& caption, const std::string& text);
  // An error: OK with the error icon (the standard error box uses it).
  static void Error(const std::string& caption, const std::string& text);
  // Any of them; returns the button pressed (closing the box counts as the
  // last button, No or OK).
  static TMsgButton Show(const std::string& caption, const std::string& text, TMsgIcon icon,
                         const std::vector<TMsgButton>& buttons);

  // Test seam: the answer of the next box. Without one, a box in test mode
  // is answered by its last button (No or OK).
  static void QueueAnswer(TMsgButton answer);
  static const std::vector<TShownBox>& Shown();
  // Forgets what was shown and what was queued.
  static void Clear();
};

// File dialogs

enum TOpenOption : unsigned {
  ofOverwritePrompt = 1u << 0,  // ask before replacing an existing file
  ofHideReadOnly = 1u << 1,     // no read-only box (there never is one here)
  ofPathMustExist = 1u << 2,
  ofFileMustExist = 1u << 3,
  ofEnableSizing = 1u << 4,
};

struct TShownDialog {
  std::string Name;  // the dialog's name ("od1")
  std::string Title;
  std::string Filter;
  std::string InitialDir;  // the property as set
  std::string Directory;   // where the dialog opened
  std::string FileName;    // the name offered (the last one chosen)
  bool Save = false;
};

// Open and save dialogs. Filter pairs descriptions and patterns with "|":
// "Soubory s testy|*.sst". A name chosen without an extension gets
// DefaultExt. The dialog opens in InitialDir when it is set, else where the
// last chosen file lies, else in the current directory; it offers the name
// last chosen in it.
// Translates the texts of ours that the file dialog shows, for the languages
// we have them in (null for the others: the texts stay English).
QTranslator* NewOwnTranslator(const QLocale& locale, QObject* parent);

class TFileDialog : public QObject {
  Q_OBJECT

 public:
  TFileDialog(QObject* owner, const char* name, bool save);

  std::string Title;
  std::string Filter;
  std::string DefaultExt;
  std::string InitialDir;
  std::string FileName;  // the last chosen full path; code page 1250 path text
  unsigned Options = ofHideReadOnly | ofEnableSizing;

  // Shows the dialog; true when the user chose a file (then in FileName).
  bool Execute();

  // Whether the dialog closes on this full path. It refuses, with a box, a
  // folder that does not exist (ofPathMustExist), and an existing file the
  // user does not want replaced (ofOverwritePrompt asks Yes/No); after a
  // refusal the dialog stays open for another name.
  bool Accepts(const std::string& path) const;

 protected:
  virtual bool Run(const std::string& directory, std::string& chosen);
  // Offers the last chosen name in the prepared dialog and runs it.
  bool Choose(QFileDialog& dialog, std::string& chosen) const;
  std::string StartDirectory() const;
  // The chosen name as a full path, with DefaultExt when it has no extension.
  std::string FullPath(const std::string& chosen, const std::string& directory) const;
  bool save_;
};

class TOpenDialog : public TFileDialog {
  Q_OBJECT
 public:
  TOpenDialog(QObject* owner, const char* name) : TFileDialog(owner, name, false) {}
};

class TSaveDialog : public TFileDialog {
  Q_OBJECT
 public:
  TSaveDialog(QObject* owner, const char* name) : TFileDialog(owner, name, true) {}
};

// The picture open dialog: the picture files the program can show, all
// together and one type at a time (PictureFilter), with a preview of the
// selected file.
class TOpenPictureDialog : public TFileDialog {
  Q_OBJECT
 public:
  TOpenPictureDialog(QObject* owner, const char* name);

 protected:
  bool Run(const std::string& directory, std::string& chosen) override;
};

class FileDialogs {
 public:
  // Test seam: the name the next dialog returns, as the user would type or
  // pick it (a relative name lies in the dialog's directory). A refused name
  // shows its box as the real dialog does (the overwrite question takes
  // MessageBoxes' queued answer, else No) and the next queued name is typed
  // into the dialog still open; without one the dialog is cancelled.
  static void QueueFileName(const std::string& name);
  // The same for a name as Qt's dialog gives it, taken as the dialog takes it.
  static void QueuePickedName(const QString& name);
  // The next dialog is cancelled; so is every dialog without a queued answer.
  static void QueueCancel();
  static const std::vector<TShownDialog>& Shown();
  static void Clear();
};

// Font dialog

// A font as the print roles hold it: face, size in points, style and colour.
using platform::TFontSpec;

// The font as a screen shows it: its points at 96 pixels per inch.
QFont ToQFont(const TFontSpec& spec);

// Preset Font, Execute, read Font back (unchanged after Cancel).
class TFontDialog : public QObject {
  Q_OBJECT
 public:
  TFontDialog(QObject* owner, const char* name);
  TFontSpec Font;
  bool Execute();

  // Test seam: the font chosen by the next dialog, or a cancel; every dialog
  // without a queued answer is cancelled.
  static void QueueFont(const TFontSpec& font);
  static void QueueCancel();
  static const std::vector<TFontSpec>& Shown();  // the presets offered
  static void Clear();
};

}  // namespace toolkit
