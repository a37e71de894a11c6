#include "screens/uMain.h"

#include <QByteArray>

#include "model/Product.h"
#include "model/uDApp.h"
#include "model/uPFce.h"
#include "platform/appdir.h"
#include "platform/qtgui/programicon.h"
#include "platform/qtgui/shell.h"
#include "screens/ScreenWidgets.h"

using namespace toolkit;

TfMain* fMain = nullptr;

const TCaptionTable<TfMain> TfMain::Captions = {
    {kForm, "Informace", "Informace"},
    {&TfMain::lJPrg, "JmenoProgramu", "Jméno programu:", ":"},
    {&TfMain::lVPrg, "Verze", "Verze:", ":"},
    {&TfMain::Label9, "Licence", "Licence:", ":"},
    {&TfMain::Label1, "StrankyProgramu", "Stránky programu:", ":"},
    {&TfMain::Label3, "EMail", "E-mail:", ":"},
    {&TfMain::Label5, "Autor", "Autor:", ":"},
    {&TfMain::Label8, "EMail", "E-mail:", ":"},
    {&TfMain::bZavrit, "Zavrit", "Zavřít"},
};

namespace {

// A link shows as plain text until the mouse is over it.
const QColor kLinkHover(0, 0, 255);
const QColor kLinkPlain(0, 0, 0);

TBevel* MakeRule(QWidget* parent, const char* name, int top) {
  auto* b = new TBevel(parent, name);
  b->SetShape(TBevelShape::bsBottomLine);
  b->SetBounds(8, top, 351, 4);
  return b;
}

}  // namespace

QUrl MailUrl(const std::string& address, const std::string& subject) {
  // Everything but the letters, digits and "-._~" that a link keeps as they
  // stand is percent-encoded from UTF-8; the address keeps its "@".
  QByteArray link = QByteArrayLiteral("mailto:") + ToQ(address).toUtf8().toPercentEncoding("@") +
                    QByteArrayLiteral("?subject=") + ToQ(subject).toUtf8().toPercentEncoding();
  return QUrl::fromEncoded(link, QUrl::StrictMode);
}

TfMain::TfMain() : TForm("fMain") {
  SetHelpButton(true);
  SetClientSize(367, 222);
  SetPosition(TPosition::poScreenCenter);

  Ramecek = new TPanel(this, "Ramecek");
  Ramecek->SetBevelOuter(TPanelBevel::bvNone);
  Ramecek->SetAlign(TAlign::alClient);

  Ikona = new TImage(Ramecek, "Ikona");
  Ikona->SetBounds(8, 8, 32, 32);
  Ikona->SetPicture(platform::ProgramIcon(32));

  // Each row: a bold caption and, 10 pixels after it, the value.
  struct Row {
    TLabel** caption;
    const char* captionName;
    TLabel** value;
    const char* valueName;
    std::string valueText;
    int left, top;
  };
  const Row rows[] = {
      {&lJPrg, "lJPrg", &loJPrg, "loJPrg", product::kName, 48, 6},
      {&lVPrg, "lVPrg", &loVPrg, "loVPrg", "", 48, 24},
      {&Label9, "Label9", &Label10, "Label10", product::kLicence, 8, 56},
      {&Label1, "Label1", &Label2, "Label2", product::kWebPage, 8, 74},
      {&Label3, "Label3", &Label4, "Label4", product::kEmail, 8, 92},
      {&Label5, "Label5", &Label6, "Label6", product::kAuthor, 8, 124},
      {&Label8, "Label8", &Label7, "Label7", product::kAuthorEmail, 8, 142},
  };
  for (const Row& r : rows) {
    *r.caption = ComicLabel(Ramecek, r.captionName, r.left, r.top, true);
    *r.value = ComicLabel(Ramecek, r.valueName, r.left, r.top, false, r.valueText);
  }

  Bevel1 = MakeRule(Ramecek, "Bevel1", 44);
  Bevel2 = MakeRule(Ramecek, "Bevel2", 112);
  Bevel3 = MakeRule(Ramecek, "Bevel3", 162);

  for (TLabel* link : {Label2, Label4, Label7}) {
    link->setCursor(Qt::PointingHandCursor);
  }
  Label2->OnClick = [this] { Label2Click(); };
  Label4->OnClick = [this] { Label4Click(); };
  Label7->OnClick = [this] { Label7Click(); };
  Label2->OnMouseMove = [this] { Label2MouseMove(); };
  Label4->OnMouseMove = [this] { Label4MouseMove(); };
  Label7->OnMouseMove = [this] { Label7MouseMove(); };
  Label2->OnMouseLeave = [this] { Label2MouseLeave(); };
  Label4->OnMouseLeave = [this] { Label4MouseLeave(); };
  Label7->OnMouseLeave = [this] { Label7MouseLeave(); };

  bZavrit = ComicButton(Ramecek, "bZavrit", 146, 184, 75, "");
  bZavrit->SetHelpContext(1000);
  bZavrit->OnClick = [this] { bZavritClick(); };
  Captions.Build(*this);
  RozmistiHodnoty();
}

void TfMain::FormCreate() { loVPrg->SetCaption(FileVersionText(platform::ProgramFile())); }

void TfMain::FormActivate() { NastavTxt(); }

void TfMain::NastavTxt() {
  Captions.LookUp(*this);
  RozmistiHodnoty();
}

void TfMain::RozmistiHodnoty() {
  // Each caption takes the size of its text, whatever the language.
  const std::pair<TLabel*, TLabel*> rows[] = {
      {lJPrg, loJPrg},  {lVPrg, loVPrg},  {Label9, Label10}, {Label1, Label2},
      {Label3, Label4}, {Label5, Label6}, {Label8, Label7},
  };
  for (const auto& [caption, value] : rows) value->move(caption->x() + caption->width() + 10, value->y());
}

void TfMain::bZavritClick() { Close(); }

void TfMain::Label2Click() { platform::OpenUrl(QUrl::fromUserInput(ToQ(Label2->Caption()))); }

void TfMain::Label4Click() { platform::OpenUrl(MailUrl(Label4->Caption(), LangText("EmailOdUzivateleAppZorvik"))); }

void TfMain::Label7Click() { platform::OpenUrl(MailUrl(Label7->Caption(), LangText("EmailOdUzivateleAppZorvik"))); }

void TfMain::Label2MouseMove() { Label2->SetFontColor(kLinkHover); }
void TfMain::Label4MouseMove() { Label4->SetFontColor(kLinkHover); }
void TfMain::Label7MouseMove() { Label7->SetFontColor(kLinkHover); }
void TfMain::Label2MouseLeave() { Label2->SetFontColor(kLinkPlain); }
void TfMain::Label4MouseLeave() { Label4->SetFontColor(kLinkPlain); }
void TfMain::Label7MouseLeave() { Label7->SetFontColor(kLinkPlain); }
