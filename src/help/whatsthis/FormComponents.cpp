#include "help/whatsthis/FormComponents.h"

namespace help {

TFormComponents::TFormComponents(QWidget* form, std::string className)
    : QObject(form), TComponent(nullptr), form_(form), className_(std::move(className)) {
  SetName(form->objectName().toStdString());
}

QObject* TFormComponents::FindControl(std::string_view name) const {
  if (!form_ || name.empty()) return nullptr;
  return form_->findChild<QObject*>(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

QWidget* TFormComponents::FormOf(const TComponent* component) {
  const auto* root = component ? dynamic_cast<const TFormComponents*>(component->Owner()) : nullptr;
  return root ? root->Form() : nullptr;
}

}  // namespace help
