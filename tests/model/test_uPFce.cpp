// The version record of program files and the version file "inf.dat".
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "support/TestSupport.h"
#include "platform/errors.h"
#include "platform/fileversion.h"
#include "model/uPFce.h"

using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

const char kNoVersion[] = "Version information not included in this file";

// Hand-made ELF images: a header, one note area, and either a section header
// table (a null section and the note section) or a program header table (one
// note segment), or both.
struct Elf {
  bool wide = true;
  bool big = false;
  bool sections = true;
  bool segment = false;
  uint64_t align = 4;
  std::string notes;

  void Put(std::string& s, size_t at, uint64_t v, int bytes) const {
    for (int i = 0; i < bytes; ++i) {
      const int shift = 8 * (big ? bytes - 1 - i : i);
      s[at + i] = static_cast<char>((v >> shift) & 0xFF);
    }
  }
  void Word(std::string& s, size_t at, uint64_t v) const { Put(s, at, v, wide ? 8 : 4); }

  std::string Note(const std::string& owner, uint32_t type, const std::string& desc) const {
    std::string n(12, '\0');
    Put(n, 0, owner.size(), 4);
    Put(n, 4, desc.size(), 4);
    Put(n, 8, type, 4);
    n += owner;
    n.resize((n.size() + align - 1) / align * align, '\0');
    n += desc;
    n.resize((n.size() + align - 1) / align * align, '\0');
    return n;
  }
  std::string Version(uint16_t a, uint16_t b, uint16_t c, uint16_t d) const {
    std::string desc(8, '\0');
    Put(desc, 0, a, 2);
    Put(desc, 2, b, 2);
    Put(desc, 4, c, 2);
    Put(desc, 6, d, 2);
    return Note(std::string("Zorvik\0", 7), 1, desc);
  }

  std::string Image() const {
    const size_t ehsize = wide ? 64 : 52, shent = wide ? 64 : 40, phent = wide ? 56 : 32;
    std::string s(ehsize, '\0');
    s[0] = 0x7F;
    s[1] = 'E';
    s[2] = 'L';
    s[3] = 'F';
    s[4] = wide ? 2 : 1;
    s[5] = big ? 2 : 1;
    s[6] = 1;
    Put(s, 16, 2, 2);  // an executable
    const size_t notesAt = s.size();
    s += notes;
    s.resize((s.size() + 7) / 8 * 8, '\0');
    if (segment) {
      const size_t at = s.size();
      s.resize(at + phent, '\0');
      Put(s, at, 4, 4);  // a note segment
      Word(s, at + (wide ? 8 : 4), notesAt);
      Word(s, at + (wide ? 32 : 16), notes.size());
      Word(s, at + (wide ? 48 : 28), align);
      Word(s, wide ? 32 : 28, at);
      Put(s, wide ? 54 : 42, phent, 2);
      Put(s, wide ? 56 : 44, 1, 2);
    }
    if (sections) {
      const size_t at = s.size();
      s.resize(at + 2 * shent, '\0');
      const size_t note = at + shent;
      Put(s, note + 4, 7, 4);  // a note section
      Word(s, note + (wide ? 24 : 16), notesAt);
      Word(s, note + (wide ? 32 : 20), notes.size());
      Word(s, note + (wide ? 48 : 32), align);
      Word(s, wide ? 40 : 32, at);
      Put(s, wide ? 58 : 46, shent, 2);
      Put(s, wide ? 60 : 48, 2, 2);
    }
    return s;
  }
};

// Reads an image from memory and counts every request outside it: the reader
// must check offsets and sizes against the file before it reads.
struct MemoryFile {
  std::string bytes;
  int outside = 0;
  uint64_t requested = 0;

  std::optional<platform::FileVersion> Find() {
    return platform::FindVersionNote(bytes.size(), [this](uint64_t off, void* out, size_t n) {
      requested += n;
      if (off > bytes.size() || n > bytes.size() - off) {
        ++outside;
        return false;
      }
      std::memcpy(out, bytes.data() + off, n);
      return true;
    });
  }
};

std::string Text(const std::optional<platform::FileVersion>& v) {
  if (!v) return "none";
  return std::to_string(v->major) + "." + std::to_string(v->minor) + "." + std::to_string(v->release) + "." +
         std::to_string(v->build);
}

std::string SelfPath() {
  char buf[PATH_MAX + 1];
  const ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace

TEST(FileVersion, BuiltProgramCarriesTheVersionOfTheBuild) {
  const std::string zorvik = testsupport::BinDir() + "zorvik";
  EXPECT_EQ(FileVersionText(zorvik), ZORVIK_FILE_VERSION_TEXT);
  EXPECT_EQ(FileBuildNumber(zorvik), ZORVIK_FILE_BUILD);
  uint16_t major = 0, minor = 0, release = 0, build = 0;
  ASSERT_TRUE(GetFileVersion(zorvik, major, minor, release, build));
  EXPECT_EQ(
      std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release) + "." + std::to_string(build),
      ZORVIK_FILE_VERSION_TEXT);
}

TEST(FileVersion, FilesWithoutTheRecordGiveFalseTheFixedTextAndZero) {
  TempDir dir;
  WriteBytes(dir.File("notes.txt"), "1.1.4.24\r\nZorvik\r\n");
  WriteBytes(dir.File("empty"), "");
  Elf other;
  other.notes = other.Note("GNU", 3, "0123456789abcdef0123");  // a build id, not ours
  WriteBytes(dir.File("other.elf"), other.Image());
  for (const std::string& path : {SelfPath(), dir.File("notes.txt"), dir.File("empty"), dir.File("other.elf"),
                                  dir.File("missing"), dir.Path(), std::string("/dev/null")}) {
    SCOPED_TRACE(path);
    uint16_t a = 7, b = 7, c = 7, d = 7;
    EXPECT_FALSE(GetFileVersion(path, a, b, c, d));
    EXPECT_EQ(a + b + c + d, 28) << "outputs must stay untouched";
    EXPECT_EQ(FileVersionText(path), kNoVersion);
    EXPECT_EQ(FileBuildNumber(path), 0);
  }
}

TEST(FileVersion, NumbersPrintUnsignedAndInEveryLayout) {
  TempDir dir;
  Elf top;
  top.notes = top.Version(65535, 65535, 65535, 65535);
  WriteBytes(dir.File("top"), top.Image());
  EXPECT_EQ(FileVersionText(dir.File("top")), "65535.65535.65535.65535");
  EXPECT_EQ(FileBuildNumber(dir.File("top")), 65535);

  // 32-bit big-endian, found through its note segment only, behind another note.
  Elf be;
  be.wide = false;
  be.big = true;
  be.sections = false;
  be.segment = true;
  be.notes = be.Note("GNU", 1, std::string(16, 'x')) + be.Version(1, 0, 32768, 7);
  const std::string path = dir.File("P\xF8\xEDklad");  // "Příklad" in code page 1250
  WriteBytes(dir.Path() + "Příklad", be.Image());
  EXPECT_EQ(FileVersionText(path), "1.0.32768.7");
  EXPECT_EQ(FileBuildNumber(path), 7);

  // Notes padded to 8 bytes, as 64-bit property notes are.
  Elf eight;
  eight.align = 8;
  eight.notes = eight.Note("GNU", 5, std::string(12, 'p')) + eight.Version(2, 3, 4, 5);
  MemoryFile m{eight.Image()};
  EXPECT_EQ(Text(m.Find()), "2.3.4.5");
}

TEST(FileVersion, ARecordOfTheWrongShapeIsNoRecord) {
  Elf e;
  const std::string owner("Zorvik\0", 7);
  for (const std::string& notes : {e.Note(owner, 2, std::string(8, '\1')), e.Note(owner, 1, std::string(6, '\1')),
                                   e.Note(owner, 1, std::string(12, '\1')), e.Note("Zorvik", 1, std::string(8, '\1')),
                                   e.Note(std::string("Zorvak\0", 7), 1, std::string(8, '\1'))}) {
    e.notes = notes;
    MemoryFile m{e.Image()};
    EXPECT_FALSE(m.Find().has_value());
  }
}

// Every truncation and every single damaged byte of a few images: the reader
// never reads outside the file, never asks for absurd amounts, and a version
// it finds is one that could be there.
TEST(FileVersion, DamagedImagesNeverMisleadTheReader) {
  std::vector<std::string> images;
  for (bool wide : {true, false}) {
    for (bool big : {false, true}) {
      Elf e;
      e.wide = wide;
      e.big = big;
      e.segment = true;
      // A description of odd length ends before the padding does.
      e.notes = e.Note("GNU", 3, "abc") + e.Version(1, 1, 4, 24);
      images.push_back(e.Image());
    }
  }
  for (const std::string& image : images) {
    const size_t desc = image.find(std::string("Zorvik\0", 7)) + 8;
    for (size_t len = 0; len <= image.size(); ++len) {
      MemoryFile m{image.substr(0, len)};
      const auto v = m.Find();
      EXPECT_EQ(m.outside, 0);
      if (v) {
        EXPECT_EQ(Text(v), "1.1.4.24");
      }
    }
    for (size_t at = 0; at < image.size(); ++at) {
      for (unsigned char value : {0x00, 0x01, 0x07, 0x13, 0x20, 0x28, 0x7F, 0x80, 0xFE, 0xFF}) {
        MemoryFile m{image};
        m.bytes[at] = static_cast<char>(value);
        const auto v = m.Find();
        ASSERT_EQ(m.outside, 0) << "byte " << at << " = " << int(value);
        ASSERT_LE(m.requested, 64u * image.size());
        // Only damage to the numbers themselves may change them.
        if (v && (at < desc || at >= desc + 8)) {
          ASSERT_EQ(Text(v), "1.1.4.24") << "byte " << at;
        }
      }
    }
  }
}

TEST(FileVersion, HugeCountsAndSizesAreRefusedWithoutReading) {
  Elf e;
  e.notes = e.Version(1, 1, 4, 24);
  std::string image = e.Image();
  // Section count 0 sends the reader to section 0 for the real count: make it enormous.
  const size_t shoff = image.size() - 2 * 64;
  image[60] = image[61] = 0;
  for (int i = 0; i < 8; ++i) image[shoff + 32 + i] = '\xFF';
  MemoryFile m{image};
  EXPECT_FALSE(m.Find().has_value());
  EXPECT_EQ(m.outside, 0);
  EXPECT_LT(m.requested, 1024u);

  // Note sections claiming to run past the end of the file, a little or very far.
  for (uint64_t size : {uint64_t{e.notes.size() + 200}, ~uint64_t{0} >> 1, ~uint64_t{0}}) {
    image = e.Image();
    e.Word(image, shoff + 64 + 32, size);
    MemoryFile n{image};
    EXPECT_FALSE(n.Find().has_value());
    EXPECT_EQ(n.outside, 0);
  }
}

TEST(VersionFile, NumberAloneGivesEmptyNotes) {
  TempDir dir;
  for (const std::string& content : {std::string("25"), std::string("25\r\n"), std::string("25\n")}) {
    WriteBytes(dir.File("inf.dat"), content);
    int32_t number = 0;
    std::string notes = "old";
    ReadVersionFile(dir.File("inf.dat"), number, notes);
    EXPECT_EQ(number, 25);
    EXPECT_EQ(notes, "");
  }
}

TEST(VersionFile, EveryNoteLineEndsWithCrLf) {
  TempDir dir;
  int32_t number = 0;
  std::string notes;
  WriteBytes(dir.File("inf.dat"), "25\r\na\r\n\r\nb\r\n");
  ReadVersionFile(dir.File("inf.dat"), number, notes);
  EXPECT_EQ(number, 25);
  EXPECT_EQ(notes, "a\r\n\r\nb\r\n");

  // Line feeds alone, a last line without a break, code page 1250 letters, a negative number.
  WriteBytes(dir.File("inf.dat"),
             "-3\nNov\xE1 verze\n\xC8\x9A"
             "e\x9A"
             "tina");
  ReadVersionFile(dir.File("inf.dat"), number, notes);
  EXPECT_EQ(number, -3);
  EXPECT_EQ(notes,
            "Nov\xE1 verze\r\n\xC8\x9A"
            "e\x9A"
            "tina\r\n");
}

TEST(VersionFile, FirstLineThatIsNoNumberRaisesAndSetsNothing) {
  TempDir dir;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<html><body>Not found</body></html>\r\n25\r\n",
       "'<html><body>Not found</body></html>' is not a valid integer value"},
      {"", "'' is not a valid integer value"},
      {"\r\n25\r\n", "'' is not a valid integer value"},
      {"99999999999\r\n", "'99999999999' is not a valid integer value"},
  };
  for (const auto& [content, message] : cases) {
    WriteBytes(dir.File("inf.dat"), content);
    int32_t number = 11;
    std::string notes = "kept";
    try {
      ReadVersionFile(dir.File("inf.dat"), number, notes);
      ADD_FAILURE() << "no error for " << content;
    } catch (const platform::EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
    EXPECT_EQ(number, 11);
    EXPECT_EQ(notes, "kept");
  }
}

TEST(VersionFile, MissingOrUnreadableFileRaisesAnInputOutputError) {
  TempDir dir;
  int32_t number = 11;
  std::string notes = "kept";
  EXPECT_THROW(ReadVersionFile(dir.File("inf.dat"), number, notes), platform::EInOutError);
  EXPECT_THROW(ReadVersionFile(dir.Path(), number, notes), platform::EInOutError);
  EXPECT_EQ(number, 11);
  EXPECT_EQ(notes, "kept");
}

TEST(VersionFile, OnlyAFileWithinTheDownloadLimitIsRead) {
  TempDir dir;
  int32_t number = 11;
  std::string notes = "kept";
  const std::string head = "25\r\n";
  WriteBytes(dir.File("inf.dat"), head + std::string(kVersionFileMaxBytes - head.size(), 'a'));
  ReadVersionFile(dir.File("inf.dat"), number, notes);
  EXPECT_EQ(number, 25);
  EXPECT_EQ(notes.size(), kVersionFileMaxBytes - head.size() + 2);

  number = 11;
  notes = "kept";
  WriteBytes(dir.File("inf.dat"), head + std::string(kVersionFileMaxBytes, 'a'));
  try {
    ReadVersionFile(dir.File("inf.dat"), number, notes);
    ADD_FAILURE() << "a file beyond the limit was read";
  } catch (const platform::EInOutError& e) {
    EXPECT_EQ(e.Path(), dir.File("inf.dat"));
  }
  EXPECT_EQ(number, 11);
  EXPECT_EQ(notes, "kept");
}

TEST(Connection, AnswersWithoutAnApplicationObject) {
  // The answer depends on the machine; asking twice must work and agree.
  EXPECT_EQ(IsOnline(), IsOnline());
}
