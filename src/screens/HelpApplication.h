#pragma once
// The application object and its forms as the help router sees them: the
// router lies below the toolkit, so this glue hands it the toolkit's help
// handler, help command, active form and the mouse position.

#include "help/hxhelprouter.h"

// The one glue object over toolkit::Application().
help::THelpApplication& HelpApplication();
