#pragma once
// The current test printed in shuffled variants on the printer's drawing
// surface (platform::Printer()): per variant a question paper and, when asked
// for, an answer sheet; after them a summary of every variant's answer key.
// Everything is measured and drawn in printer pixels; texts are code page
// 1250, lines joined by CR LF.

#include <string>

#include "platform/qtgui/fontface.h"
#include "printing/PrintPictures.h"

namespace printing {

using platform::TFontSpec;

// Measuring and drawing, each in the font it is given.
// The text wrapped at blanks into lines of at most maxWidth; a word wider
// than that stands alone on its line.
std::string ZalomitText(const std::string& text, int maxWidth, const TFontSpec& font);
// The height and width of the text as one line (CR LF breaks no line).
int VyskaTextu(const std::string& text, const TFontSpec& font);
int SirkaTextu(const std::string& text, const TFontSpec& font);
// Draws the text line by line from (x, y) down; returns its number of lines.
int TiskVRT(const std::string& text, const TFontSpec& font, int x, int y);
// The number of lines: the CR LF pairs plus one.
int VratPR(const std::string& text);
// Line n (from 1) without its CR LF; "" past the last line, the first below 1.
std::string VratRN(const std::string& text, int n);

// The margins are given in millimetres of an A4 sheet, whatever the paper.
inline constexpr int kSheetWidthMm = 210;
inline constexpr int kSheetHeightMm = 297;

// The printable-area length that a margin of mm millimetres takes on a sheet
// of fullMm millimetres, to the nearest pixel, halves to even.
int MarginPixels(int printable, int mm, int fullMm);

// The fonts of the printed texts, one per role.
struct TRoleFonts {
  TFontSpec Nadpis;    // the heading line of every page of every job
  TFontSpec Hlavicka;  // the header lines of a question paper
  TFontSpec Stranka;   // the page footer of a question paper
  TFontSpec Otazky;    // question numbers and texts; the answer sheet and the summary
  TFontSpec Odpovedi;  // answer letters and texts
};

// What one print action prints; the print screen's fields start from these.
struct TPrintSettings {
  int TopBottomMm = 10;  // margins
  int LeftRightMm = 10;
  int Copies = 1;  // of each question paper
  int Variants = 1;
  int Questions = 1;  // per variant
  bool ShuffleQuestions = false;
  bool ShuffleAnswers = false;
  bool AnswerSheets = false;  // an answer sheet job after each question paper
  bool Summary = true;        // one job of every variant's key after them all
  int PictureFactor = 4;      // how many printer pixels a picture pixel takes
};

// The print action on the current test, which has questions: every variant
// made by PrepareRun and printed, its key collected, then the summary. A
// failure midway drops the job begun, so that nothing half made prints and
// the printer is free, and goes on to the caller; the jobs ended stay printed.
void PrintTest(const TPrintSettings& settings, const TRoleFonts& fonts, const TPictureLoader& load);

}  // namespace printing
