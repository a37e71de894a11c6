#pragma once
// The question editor: edits the questions of CurrentTest one at a time (text,
// points, picture path, and per answer slot its text and whether it is
// correct), moves between them, appends, inserts and deletes. Every change
// goes straight into CurrentTest; the number box names the question shown.

#include <vector>

#include "toolkit/Toolkit.h"
#include "screens/Captions.h"
#include "model/uDTest.h"

class TfUpravitT : public toolkit::TForm {
 public:
  TfUpravitT();

  toolkit::TPanel* pOtazka;
  toolkit::TPanel* pOdpovedi;
  toolkit::TPanel* pMenu;

  toolkit::TLabel* Label1;
  toolkit::TEdit* eOtazka;
  toolkit::TLabel* Label2;
  toolkit::TSpinEdit* seBody;
  toolkit::TLabel* Label3;
  toolkit::TEdit* eObrazek;
  toolkit::TButton* bVObr;
  toolkit::TOpenPictureDialog* opd1;

  toolkit::TButton* bPredchozi;
  toolkit::TSpinEdit* seCislo;
  toolkit::TButton* bDalsi;
  toolkit::TButton* bPridejO;
  toolkit::TButton* bVlozO;
  toolkit::TButton* bSmazat;
  toolkit::TButton* bZpet;

  // One row per answer slot, made at each showing and destroyed at hiding:
  // check boxes for several correct answers, radio buttons for one.
  std::vector<toolkit::TEdit*> AnswerEdits;
  std::vector<QAbstractButton*> AnswerButtons;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfUpravitT> Captions;
  void NastavTxt();
  void APocetO();
  void NactiD();
  void UlozD();

  void FormShow() override;
  void FormActivate() override;
  void FormCloseQuery(bool& CanClose) override;
  void FormHide() override;

  void bDalsiClick();
  void bPredchoziClick();
  void bPridejOClick();
  void bVlozOClick();
  void bSmazatClick();
  void bVObrClick();
  void bZpetClick();
  void seCisloEnter();
  void seCisloChange();
  void seCisloExit();
  void seCisloKeyDown(int& Key, Qt::KeyboardModifiers Shift);
  void seBodyExit();

 private:
  void BuildAnswerRows();
  // The question the number box names, or null when it names none.
  TOtazky* ShownQuestion() const;
};

extern TfUpravitT* fUpravitT;
