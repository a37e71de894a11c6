#pragma once
// The notice shown, without blocking, while the update check runs: a small
// window without caption buttons in the middle of the screen.

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

class TfZjistiA : public toolkit::TForm {
 public:
  TfZjistiA();

  toolkit::TLabel* Label1;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfZjistiA> Captions;
  void NastavTxt();
  void FormShow() override;
  void FormActivate() override;

  // Shows the notice and lets the application work until the notice is drawn
  // (a window may take several passes to appear), but no longer than a moment.
  void UkazANakresli();
  // Whether the notice has been drawn since it was last shown.
  bool Nakresleno() const { return painted_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool painted_ = false;
};

extern TfZjistiA* fZjistiA;
