#pragma once
// The rich edit: formatted text in lines (paragraphs), built by program line
// by line, formatted by selecting characters, saved as RTF and printed.
// Character positions count a line break as one character.

#include <QColor>
#include <QTextEdit>
#include <string>
#include <vector>

#include "toolkit/Controls.h"

namespace toolkit {

// A piece of a line with its format: bold, and a colour unless invalid.
struct TTextRun {
  std::string text;
  bool bold = false;
  QColor color;
};
using TTextLine = std::vector<TTextRun>;

class TRichEdit : public TControl<QTextEdit> {
  Q_OBJECT
 public:
  TRichEdit(QWidget* parent, const char* name);

  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool on) { setReadOnly(on); }
  // Scroll bars shown always; with the horizontal one, lines do not wrap
  // but run on to the right. Without either, a bar shows when it is needed.
  void SetScrollBars(bool horizontal, bool vertical);

  void Clear();
  // The number of lines; an empty editor has none.
  int LineCount() const;
  std::string Line(int index) const;
  // Adds a line at the end, in the editor's plain format.
  void AddLine(const std::string& text);
  // Adds formatted lines at the end in one step, through the document alone:
  // neither the visible cursor nor the view moves for each piece, so long
  // texts are built in time linear in their length.
  void AddLines(const std::vector<TTextLine>& lines);
  // Replaces the text of a line; the new text takes the format of the line's
  // first character. An index outside the lines raises EListError.
  void SetLine(int index, const std::string& text);
  // The same for the lines from `first` on, in one change of the text: the
  // view lays out what follows them once, not once per line.
  void SetLines(int first, const std::vector<std::string>& texts);
  // Where a line starts; an index outside the lines raises EListError.
  int LineStart(int index) const;

  // The selection, brought within the text.
  void Select(int start, int length);
  int SelStart() const;
  int SelLength() const;
  // Formats the selected characters.
  void SetSelBold(bool on);
  void SetSelColor(const QColor& color);
  void SetSelSize(int points);

  // Writes the whole content, formatting included, as an RTF file.
  void SaveToFile(const std::string& path) const;
  // The same for a file that must not replace another: false, with nothing
  // written, when a file of that name exists.
  bool SaveToNewFile(const std::string& path) const;
  // Prints the whole content on the printer as one job of one copy under this
  // title; the printer's copy count for other jobs stays as it was.
  void Print(const std::string& title) const;

 private:
  void MergeSelection(const QTextCharFormat& format);
};

}  // namespace toolkit
