#pragma once
// The notice shown, without blocking, while the update check runs: a small
// window without caption buttons in the middle of the screen.

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

class QEventLoop;

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
  // and active (a window may take several passes to appear), but no longer
  // than a moment.
  void UkazANakresli();
  // Whether the notice has been drawn since it was last shown.
  bool Nakresleno() const { return painted_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Drawn where and as it stands once the check blocks the program.
  bool Ready() const;
  // Ends the wait for the notice once it is ready.
  void EndWaitIfReady();

  bool painted_ = false;
  QEventLoop* waiting_ = nullptr;
};

extern TfZjistiA* fZjistiA;
