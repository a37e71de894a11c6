#pragma once
// The program's directory: where the settings, the language table, the help
// file and the protocols lie beside the running program.
//
// Its name is held as code page 1250 path text (platform/cp1250.h), which
// keeps the letters of a folder's real name that the code page lacks (a
// Russian or Greek home folder) as escapes; NativePath (platform/files.h)
// opens paths that begin with ProgramDir() under NativeProgramDir().

#include <string>

namespace platform {

// The directory of the running program file, with its trailing '/', as code page 1250 path text.
std::string ProgramDir();

// The same directory as the file system names it (UTF-8 bytes), with its trailing '/'.
std::string NativeProgramDir();

// Points ProgramDir at another folder (tests); an empty text goes back to the real one.
void SetProgramDir(const std::string& dir);
// The same, with the folder named as the file system names it.
void SetNativeProgramDir(const std::string& dir);

// The full path of the running program file, as the system knows it (not as
// the program was called: a link or a relative path would mislead), code page
// 1250 text; empty when the system cannot tell.
std::string ProgramFile();

// Points ProgramFile at another file (tests); an empty text goes back to the real one.
void SetProgramFile(const std::string& path);

// The running program file as the file system names it (UTF-8 bytes), links
// resolved, read once; empty when the system cannot tell. Tests cannot point
// it elsewhere: the libraries built beside the program are found by it.
const std::string& NativeProgramFile();

}  // namespace platform
