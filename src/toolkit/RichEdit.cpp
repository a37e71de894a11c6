#include "toolkit/RichEdit.h"

#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "toolkit/Text.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/qtgui/printer.h"
#include "platform/qtgui/rtfwriter.h"

namespace toolkit {

TRichEdit::TRichEdit(QWidget* parent, const char* name) : TControl<QTextEdit>(parent, name) {
  // Pasted text comes in plain: the RTF file keeps faces, sizes, styles and
  // colours, but pictures and tables pasted in would be lost on saving.
  setAcceptRichText(false);
}

void TRichEdit::SetScrollBars(bool horizontal, bool vertical) {
  setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
  setLineWrapMode(horizontal ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
}

void TRichEdit::Clear() { clear(); }

int TRichEdit::LineCount() const { return document()->isEmpty() ? 0 : document()->blockCount(); }

std::string TRichEdit::Line(int index) const {
  if (index < 0 || index >= LineCount()) throw platform::EListError(index);
  return FromQ(document()->findBlockByNumber(index).text());
}

void TRichEdit::AddLine(const std::string& text) {
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  if (!document()->isEmpty()) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
  cursor.insertText(ToQ(text), QTextCharFormat());
}

void TRichEdit::AddLines(const std::vector<TTextLine>& lines) {
  QTextDocument* doc = document();
  // A read-only text built by program has nothing to undo.
  const bool undo = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  // Without a page the layout skips every change; given back its page, it
  // lays out the whole text afresh, the visible part first and the rest in
  // steps while the program waits for input, as for any new text.
  const QSizeF page = doc->pageSize();
  doc->setPageSize(QSizeF(0, 0));
  // The visible cursor stays put: carried to the end, showing it would lay
  // out the whole text at once.
  QTextCursor view = textCursor();
  // Text inserted at the cursor would move its anchor and so select all of it.
  const bool selected = view.hasSelection();
  const bool keep = view.keepPositionOnInsert();
  view.setKeepPositionOnInsert(true);
  setTextCursor(view);
  QTextCursor cursor(doc);
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  bool newBlock = !doc->isEmpty();
  const QTextBlockFormat paragraph;
  const QTextCharFormat plain;
  QTextCharFormat format;
  QString text;
  for (const TTextLine& line : lines) {
    if (newBlock) cursor.insertBlock(paragraph, plain);
    newBlock = true;
    // Neighbouring runs of one format go in as one piece: the document would
    // join them anyway, after a second insertion.
    for (size_t r = 0; r < line.size(); ++r) {
      const TTextRun& run = line[r];
      text += ToQ(run.text);
      if (r + 1 < line.size() && line[r + 1].bold == run.bold && line[r + 1].color == run.color) continue;
      format = plain;
      if (run.bold) format.setFontWeight(QFont::Bold);
      if (run.color.isValid()) format.setForeground(run.color);
      cursor.insertText(text, format);
      text.clear();
    }
  }
  cursor.endEditBlock();
  doc->setPageSize(page);
  view = textCursor();
  view.setKeepPositionOnInsert(keep);
  if (!selected) view.clearSelection();
  setTextCursor(view);
  doc->setUndoRedoEnabled(undo);
}

void TRichEdit::SetLine(int index, const std::string& text) { SetLines(index, {text}); }

void TRichEdit::SetLines(int first, const std::vector<std::string>& texts) {
  const int lines = LineCount();
  if (first < 0 || first >= lines) throw platform::EListError(first);
  if (first + static_cast<int>(texts.size()) > lines) throw platform::EListError(lines);
  QTextCursor edit(document());
  edit.beginEditBlock();
  for (size_t k = 0; k < texts.size(); ++k) {
    const QTextBlock block = document()->findBlockByNumber(first + static_cast<int>(k));
    const QTextCharFormat format = block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(ToQ(texts[k]), format);
  }
  edit.endEditBlock();
}

int TRichEdit::LineStart(int index) const {
  if (index < 0 || index >= std::max(1, LineCount())) throw platform::EListError(index);
  return document()->findBlockByNumber(index).position();
}

void TRichEdit::Select(int start, int length) {
  // The last position lies after the end of the text.
  const int last = document()->characterCount() - 1;
  const int from = std::clamp(start, 0, last);
  const int to = std::clamp(from + std::max(0, length), 0, last);
  QTextCursor cursor = textCursor();
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

int TRichEdit::SelStart() const { return textCursor().selectionStart(); }

int TRichEdit::SelLength() const { return textCursor().selectionEnd() - textCursor().selectionStart(); }

void TRichEdit::MergeSelection(const QTextCharFormat& format) {
  QTextCursor cursor = textCursor();
  cursor.mergeCharFormat(format);
  setTextCursor(cursor);
}

void TRichEdit::SetSelBold(bool on) {
  QTextCharFormat f;
  f.setFontWeight(on ? QFont::Bold : QFont::Normal);
  MergeSelection(f);
}

void TRichEdit::SetSelColor(const QColor& color) {
  QTextCharFormat f;
  f.setForeground(color);
  MergeSelection(f);
}

void TRichEdit::SetSelSize(int points) {
  QTextCharFormat f;
  f.setFontPointSize(points);
  MergeSelection(f);
}

void TRichEdit::SaveToFile(const std::string& path) const { platform::SaveRtf(*document(), path); }

bool TRichEdit::SaveToNewFile(const std::string& path) const {
  return platform::WriteFileNew(path, platform::DocumentToRtf(*document()));
}

void TRichEdit::Print(const std::string& title) const {
  struct KeepCopies {
    platform::TPrinter& printer;
    int copies;
    ~KeepCopies() { printer.Copies = copies; }
  } keep{platform::Printer(), platform::Printer().Copies};
  keep.printer.Title = ToQ(title);
  keep.printer.Copies = 1;
  keep.printer.PrintDocument(*document());
}

}  // namespace toolkit
