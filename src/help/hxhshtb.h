#pragma once
// The hash that turns a help context string into the 32-bit key of a context map.

#include <cstdint>
#include <string_view>

namespace help {

// h := h * 43 + value of each byte, wrapping in signed 32 bits. ASCII letters of
// either case hash alike; the empty string gives 0.
int32_t ContextStringHash(std::string_view s);

}  // namespace help
