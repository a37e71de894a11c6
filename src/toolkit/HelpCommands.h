#pragma once
// Help commands as the program issues them, and the handler that serves them.

#include <cstdint>
#include <functional>

#include "platform/winhelp.h"

namespace toolkit {

// A help request in WinHelp numbering: a 16-bit command and a signed 32-bit
// datum. A handler that has served the command sets CallHelp to false; its
// result becomes the result of the help command.
using THelpEvent = std::function<bool(uint16_t Command, int32_t Data, bool& CallHelp)>;

// WinHelp command numbers the program issues.
using platform::HELP_CONTEXT;
using platform::HELP_QUIT;
using platform::HELP_CONTENTS;
using platform::HELP_CONTEXTPOPUP;
using platform::HELP_FINDER;
using platform::HELP_SETPOPUP_POS;
using platform::HELP_TAB;
using platform::HELP_KEY;
using platform::HELP_PARTIALKEY;

}  // namespace toolkit
