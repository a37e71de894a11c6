#pragma once
// The editor's one window: the language table as a grid, one row per key and
// one column per language, with buttons to load, save, add and remove a
// language. Captions are fixed Czech texts; errors go to the standard error
// box. Its one question of its own comes before a save that would turn
// letters the table cannot hold into '?'.

#include <string>
#include <vector>

#include "toolkit/Toolkit.h"

class TForm1 : public toolkit::TForm {
  Q_OBJECT

 public:
  TForm1();

  toolkit::TStringGrid* StringGrid1;
  toolkit::TPanel* Panel1;
  toolkit::TButton* bNacist;
  toolkit::TButton* bUlozit;
  toolkit::TButton* bPridatJazyk;
  toolkit::TEdit* Edit1;
  toolkit::TButton* Button1;

  void FormCreate() override;
  void bNacistClick();
  void bUlozitClick();
  void bPridatJazykClick();
  void Button1Click();

  // What the last load left: whether one has run to its end, the languages
  // (section names) and the keys of the first section, in the file's order.
  bool Nacteno() const { return nacteno_; }
  const std::vector<std::string>& Jazyky() const { return jazyky_; }
  const std::vector<std::string>& Klice() const { return klice_; }

 private:
  static std::string TablePath();
  // True when every text fits the table's code page, or the translator
  // agrees to "?" in place of what does not; otherwise the first such cell
  // becomes the current one.
  bool TextsFitTheTable();

  bool nacteno_ = false;
  std::vector<std::string> jazyky_;
  std::vector<std::string> klice_;
};

extern TForm1* Form1;
