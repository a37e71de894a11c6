#include "platform/qtgui/rtfwriter.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/cp1250.h"
#include "platform/files.h"

namespace platform {

double FontPoints(const QFont& font) {
  if (font.pointSizeF() > 0) return font.pointSizeF();
  if (font.pixelSize() > 0) return (font.pixelSize() * 72 + 48) / 96;
  return 12;
}

namespace {

// Character code 238: the Central European character set.
constexpr int kEastEuropeCharset = 238;

// What one run of text looks like in the file.
struct RunFormat {
  int font = 0;  // index into the font table
  int halfPoints = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int color = 0;  // index into the colour table; 0 is the reader's default colour
};

class RtfWriter {
 public:
  explicit RtfWriter(const QTextDocument& document) : document_(document) {}

  std::string Write() {
    const QFont base = document_.defaultFont();
    FontIndex(FamilyOf(base));

    // The body first, so the tables know every face and colour it uses.
    std::string body = "\\viewkind4\\uc1\\pard";
    bool pending = true;  // a control word was written and wants its delimiter
    // No face or size yet, so the first run names both.
    RunFormat state;
    state.font = -1;
    state.halfPoints = -1;
    Qt::Alignment alignment = Qt::AlignLeft;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
      if (block != document_.begin()) {
        body += "\\par\r\n";
        pending = false;
      }
      const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
      if (a != alignment) {
        body += "\\pard" + AlignmentWord(a);
        pending = true;
        alignment = a;
      }
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid()) continue;
        const RunFormat run = FormatOf(fragment.charFormat(), base);
        pending = SwitchTo(body, state, run) || pending;
        state = run;
        AppendText(body, fragment.text(), pending);
      }
    }
    if (pending) body += ' ';

    std::string out = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl";
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
      out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset" + std::to_string(kEastEuropeCharset) + ' ';
      bool unused = false;
      AppendText(out, fonts_[i], unused);
      out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const QColor& c : colors_) {
      out += "\\red" + std::to_string(c.red()) + "\\green" + std::to_string(c.green()) + "\\blue" +
             std::to_string(c.blue()) + ';';
    }
    out += "}\r\n";
    out += body;
    out += "}\r\n";
    return out;
  }

 private:
  static QString FamilyOf(const QFont& font) {
    const QStringList families = font.families();
    return families.isEmpty() ? font.family() : families.first();
  }

  static int HalfPoints(const QFont& font) { return static_cast<int>(std::lround(FontPoints(font) * 2)); }

  static std::string AlignmentWord(Qt::Alignment a) {
    if (a & Qt::AlignHCenter) return "\\qc";
    if (a & Qt::AlignRight) return "\\qr";
    if (a & Qt::AlignJustify) return "\\qj";
    return "";
  }

  int FontIndex(const QString& family) {
    const int i = static_cast<int>(fonts_.indexOf(family));
    if (i >= 0) return i;
    fonts_.append(family);
    return static_cast<int>(fonts_.size()) - 1;
  }

  int ColorIndex(const QColor& color) {
    const QColor rgb = color.toRgb();
    for (size_t i = 0; i < colors_.size(); ++i) {
      if (colors_[i].rgb() == rgb.rgb()) return static_cast<int>(i) + 1;
    }
    colors_.push_back(rgb);
    return static_cast<int>(colors_.size());
  }

  RunFormat FormatOf(const QTextCharFormat& format, const QFont& base) {
    // Whatever the run does not set itself comes from the document's font.
    const QFont font = format.font().resolve(base);
    RunFormat run;
    run.font = FontIndex(FamilyOf(font));
    run.halfPoints = HalfPoints(font);
    run.bold = font.bold();
    run.italic = font.italic();
    run.underline = font.underline();
    run.strikeOut = font.strikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
      run.color = ColorIndex(format.foreground().color());
    return run;
  }

  // Writes the control words that turn one run format into the next; true
  // when any was written.
  static bool SwitchTo(std::string& out, const RunFormat& from, const RunFormat& to) {
    const size_t before = out.size();
    if (to.font != from.font) out += "\\f" + std::to_string(to.font);
    if (to.halfPoints != from.halfPoints) out += "\\fs" + std::to_string(to.halfPoints);
    if (to.bold != from.bold) out += to.bold ? "\\b" : "\\b0";
    if (to.italic != from.italic) out += to.italic ? "\\i" : "\\i0";
    if (to.underline != from.underline) out += to.underline ? "\\ul" : "\\ulnone";
    if (to.strikeOut != from.strikeOut) out += to.strikeOut ? "\\strike" : "\\strike0";
    if (to.color != from.color) out += "\\cf" + std::to_string(to.color);
    return out.size() != before;
  }

  // Text in code page 1250 with the characters RTF reserves escaped. pending
  // says a control word stands right before the text and needs its blank.
  static void AppendText(std::string& out, const QString& text, bool& pending) {
    auto word = [&](const std::string& w) {
      out += w;
      pending = true;
    };
    auto plain = [&](char c) {
      if (pending) out += ' ';
      pending = false;
      out += c;
    };
    for (const QChar ch : text) {
      const char16_t u = ch.unicode();
      char hex[8];
      if (u == '\\' || u == '{' || u == '}') {
        // The escape stands where plain text would, after any pending delimiter.
        plain('\\');
        out += static_cast<char>(u);
      } else if (u == '\t') {
        word("\\tab");
      } else if (u == QChar::LineSeparator || u == '\n') {
        word("\\line");
      } else if (u < 0x20 || u == QChar::ObjectReplacementCharacter || u == QChar::ParagraphSeparator) {
        // Control characters and embedded objects have no place in the text.
      } else if (u < 0x80) {
        plain(static_cast<char>(u));
      } else if (const char b = UnicodeToCp1250(u); b != '?') {
        std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned char>(b));
        out += hex;
        pending = false;
      } else {
        // Outside the code page: the Unicode escape, "?" for readers without it.
        out += "\\u" + std::to_string(static_cast<int16_t>(u)) + '?';
        pending = false;
      }
    }
  }

  const QTextDocument& document_;
  QStringList fonts_;
  std::vector<QColor> colors_;
};

}  // namespace

std::string DocumentToRtf(const QTextDocument& document) { return RtfWriter(document).Write(); }

void SaveRtf(const QTextDocument& document, const std::string& path) { WriteFileAtomic(path, DocumentToRtf(document)); }

}  // namespace platform
