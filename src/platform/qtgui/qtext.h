#pragma once
// Code page 1250 text as Qt takes it, for the Qt services and the libraries
// below the toolkit; the toolkit's ToQ is this same conversion.

#include <QString>
#include <string_view>

namespace platform {

QString ToQString(std::string_view cp1250);

}  // namespace platform
