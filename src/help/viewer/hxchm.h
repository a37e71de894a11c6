#pragma once
// Reading a compiled help file (".chm") for the help viewer: its objects, the
// system record (title, default topic, contents and index files), the contents
// and index lists, the context map the help compiler stores, and the popup
// topic file. Plain C++ over chmlib, so it can be tested and fuzzed without a
// display. Nothing here trusts the file: a damaged one gives empty results,
// and chmlib reads it in a reader program of its own (kChmReaderName), so a
// file that breaks chmlib itself does not open. The objects are kept in memory
// while the file is open.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hxviewer {

// One entry of a contents or index list, with the entries nested under it.
struct TSitemapEntry {
  std::string Name;   // UTF-8
  std::string Local;  // the topic inside the help file, as written ("a.htm#part")
  std::vector<TSitemapEntry> Children;
};

// A contents or index list ("text/sitemap" objects in nested lists). Nesting
// deeper than kMaxSitemapDepth is kept at that depth.
std::vector<TSitemapEntry> ParseSitemap(std::string_view html);
constexpr int kMaxSitemapDepth = 32;

// The popup text of a context in a popup topic file: ".topic <number>" lines,
// each followed by its text up to the next ".topic" line; lines starting with
// ";" are comments. Leading and trailing empty lines are dropped. nullopt when
// the file has no topic of that number, or an empty one. Result in UTF-8.
std::optional<std::string> PopupTopicText(std::string_view file, uint32_t context);

// Help file text as UTF-8: taken as it is when it is valid UTF-8, else read as
// code page 1250.
std::string HelpTextToUtf8(std::string_view text);

// "C:/x/help.chm::/inner.txt" split into the file and the inner path ("/inner.txt");
// the inner part is empty when there is none. A ">window" suffix is dropped.
void SplitHelpPath(std::string_view path, std::string& file, std::string& inner);

// The reader program, found beside the library or program that holds this
// code unless set here.
inline constexpr const char* kChmReaderName = "hxchmread";
void SetChmReaderProgram(const std::string& path);
std::string ChmReaderProgram();

// Why a help file did not open.
enum class TOpenFailure { None, Missing, Damaged, ReaderMissing };

class TChmFile {
 public:
  TChmFile() = default;
  ~TChmFile();
  TChmFile(const TChmFile&) = delete;
  TChmFile& operator=(const TChmFile&) = delete;

  // Opens the file (named as the file system names it), reads all its objects
  // and its system record; false when it is missing, not a help file, or so
  // damaged that some object it lists cannot be read whole.
  bool Open(const std::string& path);
  // Open in two steps, so that other work can go on while the reader runs:
  // Begin checks the file and starts the reader (false when the file is
  // missing or plainly no help file); Finish takes what it sends.
  bool Begin(const std::string& path);
  bool Finish();
  bool IsOpen() const { return open_; }
  // Why the last Open (or Begin and Finish) failed: the file is missing, it
  // is damaged (empty, cut short, unreadable, no help file), or the reader
  // program could not be started. None after a file opened.
  TOpenFailure Failure() const { return failure_; }
  const std::string& Path() const { return path_; }

  // The bytes of an object ("/a.htm"); nullopt when there is none or it is
  // larger than kMaxObjectSize.
  std::optional<std::string> Read(std::string_view object) const;
  bool Exists(std::string_view object) const;
  static constexpr uint64_t kMaxObjectSize = 64u << 20;
  // What one file may hold in all, and how many objects.
  static constexpr uint64_t kMaxTotalSize = 256u << 20;
  static constexpr size_t kMaxObjects = 100000;

  // From the system record, UTF-8; empty when the file names none.
  const std::string& Title() const { return title_; }
  // Object paths ("/index.htm").
  const std::string& DefaultTopic() const { return defaultTopic_; }
  const std::string& ContentsFile() const { return contentsFile_; }
  const std::string& IndexFile() const { return indexFile_; }
  // The language the file is written in, as a Windows locale number (0x405
  // for Czech); 0 when the file names none.
  uint32_t Language() const { return language_; }

  std::vector<TSitemapEntry> Contents() const;
  std::vector<TSitemapEntry> Index() const;

  // The topic of a context number from the compiled context map, as an
  // object path with any "#part" kept; empty when the map has none.
  std::string TopicOfContext(uint32_t context) const;

  // An object path for a topic name as written in the help file: made
  // absolute, and when the compiler stored a path of the machine it ran on,
  // its leading folders dropped until an object of that name exists.
  std::string ObjectPath(std::string_view topic) const;

 private:
  struct TObject {
    std::optional<std::string> Bytes;  // none when too large to keep
  };
  bool StartReader(const std::string& path);
  void EndReader();
  void ReadSystem();
  std::string FindByExtension(std::string_view ext) const;

  bool open_ = false;
  TOpenFailure failure_ = TOpenFailure::None;
  int reader_ = -1;  // the reader's process while it runs
  int pipe_ = -1;
  std::vector<std::string> names_;                    // in the file's order
  std::unordered_map<std::string, TObject> objects_;  // by the name in lower case
  std::string path_;
  std::string title_, defaultTopic_, contentsFile_, indexFile_;
  uint32_t language_ = 0;
};

}  // namespace hxviewer
