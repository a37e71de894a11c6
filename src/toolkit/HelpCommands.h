#pragma once
// Help commands as the program issues them, and the handler that serves them.

#include <cstdint>
#include <functional>

namespace toolkit {

// A help request in WinHelp numbering: a 16-bit command and a signed 32-bit
// datum. A handler that has served the command sets CallHelp to false; its
// result becomes the result of the help command.
using THelpEvent = std::function<bool(uint16_t Command, int32_t Data, bool& CallHelp)>;

// WinHelp command numbers the program issues.
constexpr uint16_t HELP_CONTEXT = 1;
constexpr uint16_t HELP_QUIT = 2;
constexpr uint16_t HELP_CONTENTS = 3;
constexpr uint16_t HELP_CONTEXTPOPUP = 8;
constexpr uint16_t HELP_FINDER = 11;
constexpr uint16_t HELP_SETPOPUP_POS = 13;
constexpr uint16_t HELP_TAB = 15;
constexpr uint16_t HELP_KEY = 257;
constexpr uint16_t HELP_PARTIALKEY = 261;

}  // namespace toolkit
