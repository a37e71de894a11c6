#pragma once
// A screen's captions in one table. Each row names a control, the key of its
// text in the language table, the caption the screen is built with (UTF-8,
// as written in the source) and what stands around the looked-up text. The
// screen's constructor builds its captions from the rows, and NastavTxt looks
// them up in the current language in the rows' order, so a placeholder for a
// missing key is written in that order too.

#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

#include "model/uDApp.h"
#include "toolkit/Toolkit.h"

// The window's own caption.
struct TFormCaption {};
inline constexpr TFormCaption kForm{};

// One item of a radio group. The group's first item row in the table clears
// its items, so setting the texts rebuilds them and leaves none selected.
template <class Form>
struct TItemOf {
  toolkit::TRadioGroup* Form::*Group;
};
template <class Form>
constexpr TItemOf<Form> ItemOf(toolkit::TRadioGroup* Form::*group) {
  return {group};
}

template <class Form>
struct TCaption {
  std::variant<TFormCaption, toolkit::TButton * Form::*, toolkit::TLabel * Form::*, toolkit::TCheckBox * Form::*,
               toolkit::TWrapCheckBox * Form::*, toolkit::TGroupBox * Form::*, toolkit::TRadioGroup * Form::*,
               toolkit::TTabSheet * Form::*, TItemOf<Form>>
      Control;
  const char* Key;
  const char* Initial;
  // Written after and before the looked-up text: ":" after a label, "..." after a box's caption.
  const char* Suffix = "";
  const char* Prefix = "";
};

template <class Form>
class TCaptionTable {
 public:
  TCaptionTable(std::initializer_list<TCaption<Form>> rows) : rows_(rows) {}

  // The captions the screen is built with.
  void Build(Form& form) const {
    for (const TCaption<Form>& row : rows_) Set(form, row, toolkit::Cp1250(row.Initial));
  }

  // The captions in the current language, looked up in the table's order.
  void LookUp(Form& form) const {
    for (const TCaption<Form>& row : rows_) Set(form, row, row.Prefix + LangText(row.Key) + row.Suffix);
  }

  std::vector<std::string> Keys() const {
    std::vector<std::string> keys;
    for (const TCaption<Form>& row : rows_) keys.emplace_back(row.Key);
    return keys;
  }

 private:
  void Set(Form& form, const TCaption<Form>& row, const std::string& text) const {
    std::visit(
        [&](const auto& control) {
          using C = std::decay_t<decltype(control)>;
          if constexpr (std::is_same_v<C, TFormCaption>) {
            form.SetCaption(text);
          } else if constexpr (std::is_same_v<C, TItemOf<Form>>) {
            toolkit::TRadioGroup* group = form.*control.Group;
            if (&row == FirstItemOf(control.Group)) group->ClearItems();
            group->AddItem(text);
          } else {
            (form.*control)->SetCaption(text);
          }
        },
        row.Control);
  }

  const TCaption<Form>* FirstItemOf(toolkit::TRadioGroup* Form::*group) const {
    for (const TCaption<Form>& row : rows_) {
      const auto* item = std::get_if<TItemOf<Form>>(&row.Control);
      if (item && item->Group == group) return &row;
    }
    return nullptr;
  }

  std::vector<TCaption<Form>> rows_;
};
