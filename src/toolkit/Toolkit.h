#pragma once
// The toolkit: our layer over Qt Widgets that gives the screens the forms,
// controls, boxes and dialogs they expect. One include for a screen.
//
//  Application.h  TApplication (one object; Application()): Title, HelpFile,
//                 HelpCommand(command, data) handed to OnHelp/SetOnHelp,
//                 CreateForm(fX) (the first form is the main form; its
//                 FormCreate runs at once), Run, Terminate, ParamStr.
//                 notify() and Invoke() show an escaping error in the standard
//                 error box (caption Title, error icon) and the program goes on.
//                 SetTestMode(true) puts every wait for a person behind a seam.
//  Forms.h        TForm: derive a screen from it; name it, SetCaption,
//                 SetClientSize, SetPosition, SetHelpButton; override FormCreate,
//                 FormShow, FormActivate (run NastavTxt there), FormCloseQuery,
//                 FormClose, FormHide; ShowModal, Close. Esc presses the button
//                 marked SetCancel(true), Enter the one marked SetDefault(true).
//                 Test seam: TForm::QueueModal(action), TForm::ShownModals().
//  Controls.h     TButton, TCheckBox, TRadioButton, TLabel (AutoSize, WordWrap,
//                 FocusControl, colours, OnClick/OnMouseMove/OnMouseLeave),
//                 TEdit and TMaskEdit (PasswordChar), TGroupBox, TBevel,
//                 TPanel (SetAlign), TImage, TTimer (call Timer() in tests).
//                 Each is made as new TButton(parent, "bName") and carries the
//                 properties "HelpContext" and "Tag"; SetBounds(l, t, w, h).
//  Memo.h         TMemo: a multi-line edit; Text with CR LF line ends, SetText,
//                 Clear, SetScrollBars(false) for none.
//  MakeButton.h   NewButton(parent, "bName", l, t, w, h, caption, click).
//  RichEdit.h     TRichEdit: lines added and replaced by program (AddLine,
//                 SetLine), Select and SetSelBold/Color/Size, SaveToFile (RTF),
//                 Print (on platform::Printer(); tests put a recording one there).
//  SpinEdit.h     TSpinEdit with the spin-edit rules (see there).
//  RadioGroup.h   TRadioGroup: ClearItems leaves none selected; SetItemIndex runs OnClick.
//  StringGrid.h   TStringGrid: Cells(col, row), ColCount, RowCount, fixed rows, Col.
//  PageControl.h  TPageControl with TTabSheet pages (new TTabSheet(pc, "tsName")),
//                 ActivePage/ActivePageIndex kept as the user left them.
//  ComboBox.h     TComboBox: a drop-down list, selection only; SetItems leaves
//                 none selected (ItemIndex -1); OnChange on the user's pick.
//  ShellTreeView.h TShellTreeView: the folder tree; Path / SetPath (nearest
//                 shown folder; "Error setting path" for a text that is no path).
//  Dialogs.h      MessageBoxes::AskYesNo (warning icon), Inform (no icon), Error;
//                 TOpenDialog, TSaveDialog, TOpenPictureDialog (Filter "a|*.x",
//                 DefaultExt, InitialDir, FileName, Execute), TFontDialog.
//                 Test seams: MessageBoxes::QueueAnswer/Shown,
//                 FileDialogs::QueueFileName/QueueCancel/Shown,
//                 TFontDialog::QueueFont/QueueCancel/Shown.
//  WrapCheckBox.h TWrapCheckBox: a TCheckBox whose caption wraps within its width.
//  Pictures.h     LoadPicture(path): bitmaps, icons, JPEG and PNG by content;
//                 EInvalidGraphic for an unknown type or undecodable data;
//                 PictureTypes / PictureFilter: the types the picture dialog offers.
//  Fonts.h        FontPx("Comic Sans MS", 13, true), FontPt("MS Sans Serif", 8).
//  Text.h         ToQ / FromQ: code page 1250 to and from QString, in one place.

#include "toolkit/Application.h"
#include "toolkit/BusyCursor.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Fonts.h"
#include "toolkit/Forms.h"
#include "toolkit/Memo.h"
#include "toolkit/HelpCommands.h"
#include "toolkit/Invoke.h"
#include "toolkit/PageControl.h"
#include "toolkit/MakeButton.h"
#include "toolkit/Pictures.h"
#include "toolkit/RadioGroup.h"
#include "toolkit/RichEdit.h"
#include "toolkit/ShellTreeView.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/StringGrid.h"
#include "toolkit/Text.h"
#include "toolkit/WrapCheckBox.h"
