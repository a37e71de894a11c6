#pragma once
// The directory of a compiled help file as the format lays it out: a header
// naming where the chunks lie, then listing chunks ("PMGL") that hold the
// entries (name, section, offset, length) and index chunks ("PMGI") above
// them. A writer may chain the listing chunks in any order and start the
// chain anywhere, so every listing chunk is read, in the file's order.
//
// Header-only and with no other part of the program, so the reader program
// (which stands alone) and the viewer's own checks read it alike. Nothing here
// trusts the file: every read is bounded by the file and by the chunk.

#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace hxviewer::chmdir {

inline uint32_t Le32(const unsigned char* b) {
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
inline uint64_t Le64(const unsigned char* b) { return uint64_t(Le32(b)) | uint64_t(Le32(b + 4)) << 32; }

inline bool ReadAt(int fd, uint64_t offset, unsigned char* buffer, size_t length) {
  size_t done = 0;
  while (done < length) {
    const ssize_t n = ::pread(fd, buffer + done, length - done, static_cast<off_t>(offset + done));
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The format's variable-length number: seven bits a byte, the high bit for more.
inline bool EncInt(const unsigned char*& at, const unsigned char* end, uint64_t& value) {
  value = 0;
  for (int n = 0; n < 9 && at < end; ++n) {
    const unsigned char b = *at++;
    value = value << 7 | (b & 0x7F);
    if (!(b & 0x80)) return true;
  }
  return false;
}

inline constexpr size_t kListHeader = 20;  // "PMGL", free space, 0, previous, next
inline constexpr size_t kIndexHeader = 8;  // "PMGI", free space

struct TEntry {
  std::string Name;
  uint64_t Space = 0;   // 0 stored as it is, 1 compressed
  uint64_t Offset = 0;  // within its section
  uint64_t Length = 0;
  size_t At = 0;   // where the entry starts in its chunk
  size_t End = 0;  // and where it ends
};

// The entries of a listing chunk, in its order; empty for any other chunk.
// An entry that runs past the chunk's used part ends the list.
inline std::vector<TEntry> ListEntries(const std::vector<unsigned char>& page) {
  std::vector<TEntry> entries;
  if (page.size() < kListHeader || std::memcmp(page.data(), "PMGL", 4) != 0) return entries;
  const uint32_t freeSpace = Le32(page.data() + 4);
  const unsigned char* start = page.data();
  const unsigned char* at = start + kListHeader;
  const unsigned char* end = freeSpace < page.size() - kListHeader ? start + page.size() - freeSpace : at;
  while (at < end) {
    TEntry entry;
    entry.At = static_cast<size_t>(at - start);
    uint64_t nameLength = 0;
    if (!EncInt(at, end, nameLength) || nameLength == 0 || nameLength > static_cast<uint64_t>(end - at)) break;
    entry.Name.assign(reinterpret_cast<const char*>(at), static_cast<size_t>(nameLength));
    at += nameLength;
    if (!EncInt(at, end, entry.Space) || !EncInt(at, end, entry.Offset) || !EncInt(at, end, entry.Length)) break;
    entry.End = static_cast<size_t>(at - start);
    entries.push_back(std::move(entry));
  }
  return entries;
}

// The headers: where the chunks lie and how many the file holds.
struct THeaders {
  uint32_t Version = 0;
  uint64_t DirectoryOffset = 0;
  uint32_t BlockLength = 0;
  int32_t Root = -1;        // the top index chunk; the first listing chunk when there is none
  int32_t Head = -1;        // the first listing chunk as the header names it
  uint64_t Chunks = 0;      // where chunk 0 starts
  uint64_t ChunkCount = 0;  // as many as the directory's length holds, within the file
  uint64_t FileChunks = 0;  // as many as the file holds from chunk 0 on
  uint64_t DataOffset = 0;  // where the stored section starts

  bool Read(int fd) {
    unsigned char itsf[0x60] = {};
    if (!ReadAt(fd, 0, itsf, 0x58) || std::memcmp(itsf, "ITSF", 4) != 0) return false;
    Version = Le32(itsf + 4);
    DirectoryOffset = Le64(itsf + 72);
    const uint64_t directoryLength = Le64(itsf + 80);
    unsigned char itsp[0x54];
    if (DirectoryOffset > (uint64_t{1} << 40) || directoryLength > (uint64_t{1} << 40) ||
        !ReadAt(fd, DirectoryOffset, itsp, sizeof itsp) || std::memcmp(itsp, "ITSP", 4) != 0)
      return false;
    const uint32_t headerLength = Le32(itsp + 8);
    BlockLength = Le32(itsp + 16);
    Root = static_cast<int32_t>(Le32(itsp + 28));
    Head = static_cast<int32_t>(Le32(itsp + 32));
    if (BlockLength < 32 || BlockLength > (1u << 20) || headerLength > (1u << 20)) return false;
    if (Root <= -1) Root = Head;
    Chunks = DirectoryOffset + headerLength;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    if (size < 0) return false;
    const uint64_t available = static_cast<uint64_t>(size) > Chunks ? static_cast<uint64_t>(size) - Chunks : 0;
    FileChunks = available / BlockLength;
    const uint64_t listed = directoryLength > headerLength ? (directoryLength - headerLength) / BlockLength : 0;
    if (listed > FileChunks) return false;  // the directory is cut short
    ChunkCount = listed;
    DataOffset = DirectoryOffset + directoryLength;
    if (Version >= 3) {
      if (!ReadAt(fd, 88, itsf + 88, 8)) return false;
      DataOffset = Le64(itsf + 88);
    }
    return true;
  }

  bool Chunk(int fd, uint64_t index, std::vector<unsigned char>& page) const {
    page.resize(BlockLength);
    return index < FileChunks && ReadAt(fd, Chunks + index * BlockLength, page.data(), BlockLength);
  }
};

}  // namespace hxviewer::chmdir
