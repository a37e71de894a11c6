#pragma once
// Help command numbers in WinHelp numbering, as the program issues them and
// the help router answers them.

#include <cstdint>

namespace platform {

constexpr uint16_t HELP_CONTEXT = 1;
constexpr uint16_t HELP_QUIT = 2;
constexpr uint16_t HELP_CONTENTS = 3;
constexpr uint16_t HELP_CONTEXTPOPUP = 8;
constexpr uint16_t HELP_FINDER = 11;
constexpr uint16_t HELP_SETPOPUP_POS = 13;
constexpr uint16_t HELP_TAB = 15;
constexpr uint16_t HELP_KEY = 257;
constexpr uint16_t HELP_PARTIALKEY = 261;

}  // namespace platform
