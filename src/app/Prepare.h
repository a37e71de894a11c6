#pragma once
// What Zorvik's entry does between creating the application object and
// running the message loop, shared with the start-up benchmark so that it
// times the program's own start.

namespace toolkit {
class TApplication;
}

// The application's title and help, then the screens, the main menu first.
void PrepareApplication(toolkit::TApplication& app);
