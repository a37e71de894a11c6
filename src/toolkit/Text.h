#pragma once
// Where code page 1250 text meets QString for the toolkit and everything
// above it. Below the toolkit the font settings and the print layout take the
// same conversion from platform/qtgui/qtext; the help viewer, a library of its
// own, and the RTF writer convert through platform/cp1250 themselves.

#include <QString>
#include <QValidator>
#include <string>
#include <string_view>

namespace toolkit {

// A text written in the source (UTF-8) as code page 1250: Cp1250("Zpět").
std::string Cp1250(std::string_view utf8);

// Code page 1250 to QString.
QString ToQ(const std::string& cp1250);
// QString to code page 1250; a character the code page cannot hold becomes '?'.
std::string FromQ(const QString& text);
// A path as Qt should open and show it: the file system's real name, with
// the letters that code page 1250 cannot hold (platform::NativePath).
QString PathToQ(const std::string& path);
// A path from Qt as the program holds it: code page 1250 path text, whose
// letters beyond the code page are kept, not turned into '?' (platform::PathText).
std::string PathFromQ(const QString& path);
// A text that may quote a path (a message naming a file) as it is shown:
// the path's real name in place of its escapes.
QString ShownToQ(const std::string& text);
// The text as code page 1250 would keep it: what the user sees is what is saved.
QString Representable(const QString& text);

// Turns every character that code page 1250 cannot hold into '?' as it is typed
// or pasted, so edits never hold text that cannot be stored.
class Cp1250Validator : public QValidator {
 public:
  explicit Cp1250Validator(QObject* parent = nullptr) : QValidator(parent) {}
  State validate(QString& input, int& pos) const override;
};

}  // namespace toolkit
