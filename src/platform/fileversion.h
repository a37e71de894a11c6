#pragma once
// The file version a program carries: four 16-bit numbers in an ELF note that
// the build embeds in the program file (cmake/versionnote.cpp.in), read back
// from any file by name. The reader trusts nothing in the file: every offset,
// size and count is checked before it is used.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

struct FileVersion {
  uint16_t major = 0;
  uint16_t minor = 0;
  uint16_t release = 0;
  uint16_t build = 0;
};

// The note: owner "Zorvik", type 1, and the four numbers as its description,
// in the byte order of the file.
inline constexpr char kVersionNoteOwner[] = "Zorvik";
inline constexpr uint32_t kVersionNoteType = 1;

// The note as it lies in the program's own file, built by the compiler.
struct VersionNote {
  uint32_t nameSize;
  uint32_t descSize;
  uint32_t type;
  char name[8];  // the owner with its terminating zero, padded to 4 bytes
  uint16_t version[4];
};
static_assert(sizeof(VersionNote) == 28);

constexpr VersionNote MakeVersionNote(uint16_t major, uint16_t minor, uint16_t release, uint16_t build) {
  return VersionNote{sizeof kVersionNoteOwner,
                     4 * sizeof(uint16_t),
                     kVersionNoteType,
                     {'Z', 'o', 'r', 'v', 'i', 'k', '\0', '\0'},
                     {major, minor, release, build}};
}

// Copies size bytes at offset into out; false when they are not all there.
using ReadAtFn = std::function<bool(uint64_t offset, void* out, size_t size)>;

// The version note of an ELF image of fileSize bytes, searched in its note
// sections and note segments. Nothing when the image is not ELF, has no such
// note, or the note is damaged.
std::optional<FileVersion> FindVersionNote(uint64_t fileSize, const ReadAtFn& readAt);

// The version note of the file at path (code page 1250). Nothing for a missing
// or unreadable file, anything that is not a regular file, and files without the note.
std::optional<FileVersion> ReadFileVersion(const std::string& path);

}  // namespace platform
