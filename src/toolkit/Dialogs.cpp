#include "toolkit/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTranslator>
#include <deque>
#include <optional>

#include "toolkit/Controls.h"
#include "toolkit/Fonts.h"
#include "toolkit/Forms.h"
#include "toolkit/Pictures.h"
#include "toolkit/TestMode.h"
#include "toolkit/Text.h"
#include "platform/profile.h"

namespace toolkit {

namespace {

template <class T>
struct Seam {
  std::deque<T> queue;

  std::optional<T> Next() {
    if (queue.empty()) return std::nullopt;
    T v = std::move(queue.front());
    queue.pop_front();
    return v;
  }
};

Seam<TMsgButton>& BoxSeam() {
  static Seam<TMsgButton> s;
  return s;
}
std::vector<TShownBox>& ShownBoxes() {
  static std::vector<TShownBox> v;
  return v;
}

Seam<std::optional<std::string>>& FileSeam() {
  static Seam<std::optional<std::string>> s;
  return s;
}
std::vector<TShownDialog>& ShownDialogs() {
  static std::vector<TShownDialog> v;
  return v;
}

Seam<std::optional<TFontSpec>>& FontSeam() {
  static Seam<std::optional<TFontSpec>> s;
  return s;
}
std::vector<TFontSpec>& ShownFonts() {
  static std::vector<TFontSpec> v;
  return v;
}

QWidget* DialogParent() { return TForm::ActiveForm(); }

// "Soubory s testy|*.sst|Vse|*.*" to Qt's "Soubory s testy (*.sst)" list.
QStringList QtFilters(const std::string& filter) {
  QStringList out;
  const QStringList parts = ToQ(filter).split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
  }
  return out;
}

}  // namespace

// Message boxes

TMsgButton MessageBoxes::Show(const std::string& caption, const std::string& text, TMsgIcon icon,
                              const std::vector<TMsgButton>& buttons) {
  TShownBox shown{caption, text, icon, buttons, buttons.empty() ? TMsgButton::Ok : buttons.back(), false};
  // The program waits for the user; an error box reports an error already raised and adds none.
  platform::ProfileBatchGap wait(icon != TMsgIcon::Error);
  if (TestMode()) {
    if (auto answer = BoxSeam().Next()) {
      shown.Answer = *answer;
      shown.Queued = true;
    }
    if (Recording()) ShownBoxes().push_back(shown);
    return shown.Answer;
  }

  QMessageBox box(DialogParent());
  box.setWindowTitle(ShownToQ(caption));
  box.setText(ShownToQ(text));
  switch (icon) {
    case TMsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case TMsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case TMsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case TMsgIcon::Information: box.setIcon(QMessageBox::Information); break;
  }
  for (TMsgButton b : buttons) {
    QMessageBox::StandardButton sb = b == TMsgButton::Yes  ? QMessageBox::Yes
                                     : b == TMsgButton::No ? QMessageBox::No
                                                           : QMessageBox::Ok;
    box.addButton(sb);
  }
  // The close box and Esc give the last button.
  box.setEscapeButton(box.buttons().isEmpty() ? nullptr : box.buttons().constLast());
  box.exec();
  const auto clicked = box.standardButton(box.clickedButton());
  if (clicked == QMessageBox::Yes) shown.Answer = TMsgButton::Yes;
  if (clicked == QMessageBox::No) shown.Answer = TMsgButton::No;
  if (clicked == QMessageBox::Ok) shown.Answer = TMsgButton::Ok;
  if (Recording()) ShownBoxes().push_back(shown);
  return shown.Answer;
}

bool MessageBoxes::AskYesNo(const std::string& caption, const std::string& text) {
  return Show(caption, text, TMsgIcon::Warning, {TMsgButton::Yes, TMsgButton::No}) == TMsgButton::Yes;
}

void MessageBoxes::Inform(const std::string& caption, const std::string& text) {
  Show(caption, text, TMsgIcon::None, {TMsgButton::Ok});
}

void MessageBoxes::Error(const std::string& caption, const std::string& text) {
  Show(caption, text, TMsgIcon::Error, {TMsgButton::Ok});
}

void MessageBoxes::QueueAnswer(TMsgButton answer) { BoxSeam().queue.push_back(answer); }
const std::vector<TShownBox>& MessageBoxes::Shown() { return ShownBoxes(); }

void MessageBoxes::Clear() {
  ShownBoxes().clear();
  BoxSeam().queue.clear();
}

// File dialogs

TFileDialog::TFileDialog(QObject* owner, const char* name, bool save) : QObject(owner), save_(save) {
  InitControl(this, name);
}

std::string TFileDialog::StartDirectory() const {
  if (!InitialDir.empty()) return InitialDir;
  const QFileInfo last(PathToQ(FileName));
  if (!FileName.empty() && !last.path().isEmpty() && last.path() != QStringLiteral(".")) return PathFromQ(last.path());
  return PathFromQ(QDir::currentPath());
}

std::string TFileDialog::FullPath(const std::string& chosen, const std::string& directory) const {
  QFileInfo info(PathToQ(chosen));
  if (info.isRelative()) info = QFileInfo(QDir(PathToQ(directory)), PathToQ(chosen));
  QString path = info.absoluteFilePath();
  if (!DefaultExt.empty() && info.suffix().isEmpty()) path += QLatin1Char('.') + ToQ(DefaultExt);
  return PathFromQ(path);
}

namespace {
constexpr const char* kPathMissing = "%1\nPath does not exist.\nCheck the path and try again.";

// Our texts that Qt's Czech translation does not hold.
class TCzechTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;

  QString translate(const char* context, const char* source, const char* = nullptr, int = -1) const override {
    if (qstrcmp(context, "TFileDialog") == 0 && qstrcmp(source, kPathMissing) == 0)
      return QString::fromUtf8("%1\nCesta neexistuje.\nZkontrolujte cestu a zkuste to znovu.");
    return {};
  }
  bool isEmpty() const override { return false; }
};

// A text of ours inside the file dialog, in the language of Qt's own texts
// there; English where that language does not fit code page 1250. "%1" stands
// for the name, put in as the program holds it.
std::string DialogText(const char* context, const char* english, const std::string& name = "") {
  const QString translated = QCoreApplication::translate(context, english);
  std::string text = Representable(translated) == translated ? FromQ(translated) : std::string(english);
  const size_t at = text.find("%1");
  if (at != std::string::npos) text.replace(at, 2, name);
  return text;
}
}  // namespace

QTranslator* NewOwnTranslator(const QLocale& locale, QObject* parent) {
  return locale.language() == QLocale::Czech ? new TCzechTexts(parent) : nullptr;
}

bool TFileDialog::Accepts(const std::string& path) const {
  const QFileInfo info(PathToQ(path));
  // The same caption and texts as Qt's own file dialog, which has them translated.
  const std::string caption = !Title.empty() ? Title : DialogText("QFileDialog", save_ ? "Save As" : "Open");
  if ((Options & ofPathMustExist) && !info.dir().exists()) {
    MessageBoxes::Show(caption, DialogText("TFileDialog", kPathMissing, path), TMsgIcon::Warning, {TMsgButton::Ok});
    return false;
  }
  if (save_ && (Options & ofOverwritePrompt) && info.exists() && !info.isDir()) {
    return MessageBoxes::AskYesNo(caption, DialogText("QFileDialog", "%1 already exists.\nDo you want to replace it?",
                                                      PathFromQ(info.fileName())));
  }
  return true;
}

bool TFileDialog::Execute() {
  const std::string directory = StartDirectory();
  if (Recording())
    ShownDialogs().push_back({objectName().toStdString(), Title, Filter, InitialDir, directory, FileName, save_});
  std::string chosen;
  if (TestMode()) {
    // A refused name leaves the dialog open for the next one.
    do {
      auto answer = FileSeam().Next();
      if (!answer || !*answer) return false;
      chosen = FullPath(**answer, directory);
    } while (!Accepts(chosen));
  } else if (Run(directory, chosen)) {
    chosen = FullPath(chosen, directory);
  } else {
    return false;
  }
  FileName = chosen;
  return true;
}

namespace {
// A file dialog that asks its own questions before it closes on a name.
class TCheckingFileDialog : public QFileDialog {
 public:
  TCheckingFileDialog(const TFileDialog& owner, const QString& title, const QString& directory)
      : QFileDialog(DialogParent(), title, directory), owner_(owner) {}

  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && !QFileInfo(files.constFirst()).isDir() && !owner_.Accepts(PathFromQ(files.constFirst())))
      return;
    QFileDialog::accept();
  }

 private:
  const TFileDialog& owner_;
};
}  // namespace

bool TFileDialog::Run(const std::string& directory, std::string& chosen) {
  TCheckingFileDialog dialog(*this, ToQ(Title), PathToQ(directory));
  // The questions are ours, in the program's boxes, so the dialog is Qt's own.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(save_ ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save_                         ? QFileDialog::AnyFile
                     : (Options & ofFileMustExist) ? QFileDialog::ExistingFile
                                                   : QFileDialog::AnyFile);
  dialog.setNameFilters(QtFilters(Filter));
  dialog.setDefaultSuffix(ToQ(DefaultExt));
  return Choose(dialog, chosen);
}

bool TFileDialog::Choose(QFileDialog& dialog, std::string& chosen) const {
  if (!FileName.empty()) dialog.selectFile(QFileInfo(PathToQ(FileName)).fileName());
  platform::ProfileBatchGap wait;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  chosen = PathFromQ(dialog.selectedFiles().constFirst());
  return true;
}

TOpenPictureDialog::TOpenPictureDialog(QObject* owner, const char* name) : TFileDialog(owner, name, false) {
  // The screen names the types in the program's language.
  Filter = PictureFilter([](const TPictureType& type) { return std::string(type.Name); });
  Options = ofHideReadOnly | ofFileMustExist | ofEnableSizing;
}

bool TOpenPictureDialog::Run(const std::string& directory, std::string& chosen) {
  QFileDialog dialog(DialogParent(), ToQ(Title), PathToQ(directory));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(QtFilters(Filter));
  // The preview beside the file list.
  auto* preview = new QLabel(&dialog);
  preview->setFixedSize(160, 160);
  preview->setAlignment(Qt::AlignCenter);
  preview->setFrameShape(QFrame::StyledPanel);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addWidget(preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);
  connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    preview->setPixmap(image.isNull() ? QPixmap()
                                      : QPixmap::fromImage(image.scaled(preview->size(), Qt::KeepAspectRatio,
                                                                        Qt::SmoothTransformation)));
  });
  return Choose(dialog, chosen);
}

void FileDialogs::QueueFileName(const std::string& name) { FileSeam().queue.push_back(name); }
void FileDialogs::QueuePickedName(const QString& name) { FileSeam().queue.push_back(PathFromQ(name)); }
void FileDialogs::QueueCancel() { FileSeam().queue.push_back(std::nullopt); }
const std::vector<TShownDialog>& FileDialogs::Shown() { return ShownDialogs(); }

void FileDialogs::Clear() {
  ShownDialogs().clear();
  FileSeam().queue.clear();
}

// Font dialog

QFont ToQFont(const TFontSpec& spec) {
  QFont f = platform::PointFont(spec);
  f.setPixelSize(PointsToPixels(spec.Size));
  return f;
}

TFontDialog::TFontDialog(QObject* owner, const char* name) : QObject(owner) { InitControl(this, name); }

namespace {
// The sixteen colours the font dialog offers, as 0x00BBGGRR.
const std::vector<std::pair<const char*, uint32_t>>& FontColors() {
  static const std::vector<std::pair<const char*, uint32_t>> colors = {
      {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
      {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
      {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
      {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF}};
  return colors;
}

bool RunFontDialog(TFontSpec& font) {
  QDialog dialog(DialogParent());
  dialog.setWindowTitle(QStringLiteral("Font"));
  auto* form = new QFormLayout(&dialog);
  auto* face = new QFontComboBox(&dialog);
  face->setCurrentFont(QFont(ToQ(font.Name)));
  auto* size = new QSpinBox(&dialog);
  size->setRange(1, 500);
  size->setValue(font.Size);
  auto* bold = new QCheckBox(QStringLiteral("Bold"), &dialog);
  auto* italic = new QCheckBox(QStringLiteral("Italic"), &dialog);
  auto* underline = new QCheckBox(QStringLiteral("Underline"), &dialog);
  auto* strike = new QCheckBox(QStringLiteral("Strikeout"), &dialog);
  bold->setChecked(font.Bold);
  italic->setChecked(font.Italic);
  underline->setChecked(font.Underline);
  strike->setChecked(font.StrikeOut);
  auto* color = new QComboBox(&dialog);
  for (const auto& [name, value] : FontColors()) {
    color->addItem(QString::fromLatin1(name), value);
    if (value == font.Color) color->setCurrentIndex(color->count() - 1);
  }
  auto* sample = new QLabel(QStringLiteral("AaBbĚěŠšČč"), &dialog);
  sample->setMinimumHeight(60);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(QStringLiteral("Font:"), face);
  form->addRow(QStringLiteral("Size:"), size);
  form->addRow(bold);
  form->addRow(italic);
  form->addRow(underline);
  form->addRow(strike);
  form->addRow(QStringLiteral("Color:"), color);
  form->addRow(sample);
  form->addRow(buttons);
  auto current = [&] {
    TFontSpec f;
    f.Name = FromQ(face->currentFont().family());
    f.Size = size->value();
    f.Bold = bold->isChecked();
    f.Italic = italic->isChecked();
    f.Underline = underline->isChecked();
    f.StrikeOut = strike->isChecked();
    f.Color = color->currentData().toUInt();
    return f;
  };
  auto refresh = [&] {
    const TFontSpec f = current();
    sample->setFont(ToQFont(f));
    sample->setStyleSheet(QStringLiteral("color: ") + platform::ColorOf(f).name());
  };
  for (QCheckBox* c : {bold, italic, underline, strike}) QObject::connect(c, &QCheckBox::toggled, &dialog, refresh);
  QObject::connect(face, &QFontComboBox::currentFontChanged, &dialog, refresh);
  QObject::connect(size, &QSpinBox::valueChanged, &dialog, refresh);
  QObject::connect(color, &QComboBox::currentIndexChanged, &dialog, refresh);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  refresh();
  platform::ProfileBatchGap wait;
  if (dialog.exec() != QDialog::Accepted) return false;
  font = current();
  return true;
}
}  // namespace

bool TFontDialog::Execute() {
  if (Recording()) ShownFonts().push_back(Font);
  if (TestMode()) {
    auto answer = FontSeam().Next();
    if (!answer || !*answer) return false;
    Font = **answer;
    return true;
  }
  return RunFontDialog(Font);
}

void TFontDialog::QueueFont(const TFontSpec& font) { FontSeam().queue.push_back(font); }
void TFontDialog::QueueCancel() { FontSeam().queue.push_back(std::nullopt); }
const std::vector<TFontSpec>& TFontDialog::Shown() { return ShownFonts(); }

void TFontDialog::Clear() {
  ShownFonts().clear();
  FontSeam().queue.clear();
}

}  // namespace toolkit
