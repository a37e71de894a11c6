#pragma once
// The printer: the program prints on the default printer only, through one
// process-wide object (Printer()). It is a drawing surface measured in the
// printer's own pixels, with the origin at the top left of the printable area:
//
//   Title, Copies       the name of the next job in the print queue and how
//                       many copies of the whole job are printed
//   BeginDoc            starts a job on a blank page 1
//   NewPage             ends the page and starts the next one
//   EndDoc, Abort       ends the job (printed), or drops it
//   SetFont, SetPenWidth, TextOut, Line, Draw    draw on the current page
//   TextWidth, TextHeight, PageWidth, PageHeight measure; allowed outside a job
//   PrintDocument       a rich-text document as one whole job
//
// Texts are QStrings: conversion from code page 1250 belongs to the caller's
// boundary. A font's size counts in points, so text keeps its size on any
// printer; a font given in pixels counts at 96 pixels per inch.
//
// Every operation that needs a printer raises EPrinter with the standard
// message when none is installed. Tests put a recording printer (or one that
// prints into a PDF file) in place with SetPrinter.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <memory>

#include "platform/errors.h"

class QTextDocument;

namespace platform {

// A printing error; what() is the message shown in the standard error box.
class EPrinter : public Exception {
 public:
  using Exception::Exception;
  // "There is no default printer currently selected"
  static EPrinter NoDefaultPrinter();
  // "Printing in progress"
  static EPrinter Printing();
  // "Printer is not currently printing"
  static EPrinter NotPrinting();
  // "Printer selected is not valid": the device refused to start a job or a page.
  static EPrinter InvalidPrinter();
  // "Printing failed": the device reported an error for the job.
  static EPrinter Failed();
};

class TPrinter {
 public:
  virtual ~TPrinter();

  QString Title;
  int Copies = 1;

  void BeginDoc();
  void NewPage();
  void EndDoc();
  void Abort();
  bool Printing() const { return printing_; }
  // 1 on the first page of a job; 0 outside one.
  int PageNumber() const { return page_; }

  // The printable area in printer pixels.
  int PageWidth();
  int PageHeight();
  // Printer pixels per inch.
  int Resolution();

  // The font of the following texts and measurements, and its colour.
  void SetFont(const QFont& font, const QColor& color = Qt::black);
  const QFont& Font() const { return font_; }
  const QColor& FontColor() const { return color_; }
  // The pen of the following lines, in printer pixels.
  void SetPenWidth(int width) { penWidth_ = width; }
  int PenWidth() const { return penWidth_; }

  // The width and height of a text in the font, one line high (the height is
  // the font's ascent plus descent, whatever the text).
  int TextWidth(const QString& text);
  int TextHeight(const QString& text);
  // Draws the text with the top left corner of its line at (x, y).
  void TextOut(int x, int y, const QString& text);
  void Line(int x1, int y1, int x2, int y2);
  // Draws the picture at its natural size, one picture pixel to one printer pixel.
  void Draw(int x, int y, const QImage& picture);

  // Prints the document, formatting included, as one job under Title with
  // Copies copies; a job already begun raises EPrinter.
  void PrintDocument(const QTextDocument& document);

 protected:
  // The font as it goes to the device: its size in points.
  QFont DeviceFont() const;

  // What a concrete printer supplies. Available is asked before each use of
  // the device; the others run only when it said yes.
  virtual bool Available() = 0;
  virtual QSize PrintableSize() = 0;
  virtual int Dpi() = 0;
  virtual QSize Measure(const QFont& font, const QString& text) = 0;
  virtual void StartJob() = 0;
  virtual void StartPage() = 0;
  virtual void FinishJob() = 0;
  virtual void DropJob() = 0;
  virtual void DrawText(int x, int y, const QFont& font, const QColor& color, const QString& text) = 0;
  virtual void DrawLine(int x1, int y1, int x2, int y2, int width) = 0;
  virtual void DrawPicture(int x, int y, const QImage& picture) = 0;
  virtual void PrintRichText(const QTextDocument& document) = 0;

 private:
  void Require();
  void RequirePrinting();

  bool printing_ = false;
  int page_ = 0;
  QFont font_;
  QColor color_ = Qt::black;
  int penWidth_ = 1;
};

// The printer the program prints on: the default printer unless a test put
// another in place.
TPrinter& Printer();
// Puts a printer in place of the default one; null goes back to the default.
void SetPrinter(std::unique_ptr<TPrinter> printer);

// A copy of the document whose fonts all count in points, so that it prints at
// the size it shows on screen whatever the printer's resolution.
std::unique_ptr<QTextDocument> PrintableCopy(const QTextDocument& document);

}  // namespace platform
