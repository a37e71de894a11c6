#include "toolkit/Memo.h"

#include <QTextCursor>
#include <algorithm>

#include "toolkit/Invoke.h"
#include "toolkit/Text.h"

namespace toolkit {

TMemo::TMemo(QWidget* parent, const char* name) : TControl(parent, name) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    KeepRepresentable();
    if (!fixing_) Invoke(this, OnChange);
  });
}

std::string TMemo::Text() const {
  const std::string plain = FromQ(toPlainText());
  std::string text;
  text.reserve(plain.size() + plain.size() / 16);
  for (const char c : plain) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

void TMemo::SetText(const std::string& text) {
  std::string plain;
  plain.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') continue;
      plain += '\n';
    } else {
      plain += text[i];
    }
  }
  setPlainText(ToQ(plain));
}

void TMemo::SetScrollBars(bool on) {
  const Qt::ScrollBarPolicy policy = on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  setVerticalScrollBarPolicy(policy);
  setHorizontalScrollBarPolicy(policy);
}

void TMemo::KeepRepresentable() {
  if (fixing_) return;
  const QString text = toPlainText();
  const QString kept = Representable(text);
  if (kept == text) return;
  // Every character that cannot be kept became one '?'; the cursor stays about where it was.
  const int position = textCursor().position();
  fixing_ = true;
  setPlainText(kept);
  QTextCursor cursor = textCursor();
  cursor.setPosition(std::min(position, static_cast<int>(kept.size())));
  setTextCursor(cursor);
  fixing_ = false;
}

}  // namespace toolkit
