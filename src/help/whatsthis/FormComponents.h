#pragma once
// The non-visual components of a form: a component root that the form owns
// and frees with itself, named and classed as the form's storage records it,
// so the storage reads the components' values into it. A component's
// reference to one of the form's controls or menu items is resolved by name
// within the form.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <string>
#include <string_view>

#include "help/hxcomponent.h"

namespace help {

class TFormComponents : public QObject, public TComponent {
  Q_OBJECT

 public:
  TFormComponents(QWidget* form, std::string className);
  std::string ClassName() const override { return className_; }

  QWidget* Form() const { return form_; }
  // The form's control or menu item of that name; null when there is none.
  QObject* FindControl(std::string_view name) const;

  // The form a component sits on, when its owner is such a root.
  static QWidget* FormOf(const TComponent* component);

 private:
  QPointer<QWidget> form_;
  std::string className_;
};

}  // namespace help
