#pragma once
// The program's directory: where the settings, the language table, the help
// file and the protocols lie beside the running program.

#include <string>

namespace platform {

// The directory of the running program file, with its trailing '/', as code page 1250 text.
std::string ProgramDir();

// Points ProgramDir at another folder (tests); an empty text goes back to the real one.
void SetProgramDir(const std::string& dir);

}  // namespace platform
