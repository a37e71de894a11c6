#pragma once
// The information screen: the program's name, version and licence, where its
// maker is found on the web and by e-mail, and its author. The web address
// and the two e-mail addresses are links handed to the desktop.

#include <QUrl>
#include <string>

#include "screens/Captions.h"
#include "toolkit/Toolkit.h"

// The link that starts an e-mail to the address with this subject. Both are
// encoded as a link requires, so the mail program shows the subject exactly
// as given: blanks, Czech letters, "&", "#" and "+" included.
QUrl MailUrl(const std::string& address, const std::string& subject);

class TfMain : public toolkit::TForm {
 public:
  TfMain();

  toolkit::TPanel* Ramecek;
  toolkit::TImage* Ikona;
  toolkit::TLabel* lJPrg;
  toolkit::TLabel* loJPrg;
  toolkit::TLabel* lVPrg;
  toolkit::TLabel* loVPrg;
  toolkit::TLabel* Label9;  // the licence
  toolkit::TLabel* Label10;
  toolkit::TLabel* Label1;  // the web page
  toolkit::TLabel* Label2;
  toolkit::TLabel* Label3;  // the program's e-mail
  toolkit::TLabel* Label4;
  toolkit::TLabel* Label5;  // the author
  toolkit::TLabel* Label6;
  toolkit::TLabel* Label8;  // the author's e-mail
  toolkit::TLabel* Label7;
  toolkit::TBevel* Bevel1;
  toolkit::TBevel* Bevel2;
  toolkit::TBevel* Bevel3;
  toolkit::TButton* bZavrit;

  // The captions: built with the screen, looked up by NastavTxt.
  static const TCaptionTable<TfMain> Captions;
  void NastavTxt();
  // Places each value 10 pixels after its caption.
  void RozmistiHodnoty();
  void FormCreate() override;
  void FormActivate() override;
  void bZavritClick();
  void Label2Click();
  void Label4Click();
  void Label7Click();
  void Label2MouseMove();
  void Label4MouseMove();
  void Label7MouseMove();
  void Label2MouseLeave();
  void Label4MouseLeave();
  void Label7MouseLeave();
};

extern TfMain* fMain;
