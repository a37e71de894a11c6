#pragma once
// What the program says of itself and where its maker is found: the
// information screen shows these, the update check fetches the version file
// from the address below. Code page 1250 text.

// The build may point the update check at another server:
// cmake -DZORVIK_VERSION_FILE_URL=https://.../inf.dat
#ifndef ZORVIK_VERSION_FILE_URL
#define ZORVIK_VERSION_FILE_URL "https://www.zorvik.example/download/inf.dat"
#endif

namespace product {

inline constexpr char kName[] = "Zorvik";
inline constexpr char kLicence[] = "Freeware";
inline constexpr char kWebPage[] = "https://www.zorvik.example";
// Questions and remarks about the program.
inline constexpr char kEmail[] = "info@zorvik.example";
inline constexpr char kAuthor[] = "T\xFDm Zorvik";  // "Tým Zorvik"
inline constexpr char kAuthorEmail[] = "autor@zorvik.example";

// The version file on the maker's server.
inline constexpr char kVersionFileUrl[] = ZORVIK_VERSION_FILE_URL;

}  // namespace product
