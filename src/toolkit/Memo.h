#pragma once
// A multi-line edit box. Its text is code page 1250 with lines ending in
// CR LF, as a text file holds them; a lone CR or LF also ends a line. Text
// that code page 1250 cannot hold becomes '?' as it is typed or pasted.

#include <QPlainTextEdit>
#include <functional>
#include <string>

#include "toolkit/Controls.h"

namespace toolkit {

class TMemo : public TControl<QPlainTextEdit> {
  Q_OBJECT
 public:
  TMemo(QWidget* parent, const char* name);

  // The lines joined by CR LF; a text that ended with a line break keeps it.
  std::string Text() const;
  void SetText(const std::string& text);
  void Clear() { SetText(""); }
  int LineCount() const { return blockCount(); }

  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool on) { setReadOnly(on); }
  // Both scroll bars shown as needed, or none at all; long lines wrap either way.
  void SetScrollBars(bool on);

  std::function<void()> OnChange;

 private:
  void KeepRepresentable();
  bool fixing_ = false;
};

}  // namespace toolkit
