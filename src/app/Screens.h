#pragma once
// The screens of Zorvik, listed once: the program creates them in the list's
// order (the main menu first, so it is the main window, and owned by the
// application object), and the screen tests tear them down through the same list.

namespace toolkit {
class TApplication;
}

// Creates every screen and its global instance, in the list's order.
void CreateScreens(toolkit::TApplication& app);

// Frees every screen still there, the last created first, and clears its
// global instance (tests; the program leaves this to the application object).
void DestroyScreens();
