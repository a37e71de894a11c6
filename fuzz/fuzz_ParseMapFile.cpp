// Any bytes as a help project map file: the parser must end, never crash, and
// give only records with a non-zero hash; the map built from the same file
// holds them sorted. The same bytes as stored "FileData" must never let a
// lookup read outside the block.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "help/hxcontextmap.h"
#include "platform/messages.h"

namespace {

// A scratch folder holding the map file and one include that leads back to it,
// so that includes and cycles get exercised.
struct Scratch {
  Scratch() {
    const std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    dir = base + "/zorvik-fuzz-map-" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(dir);
    map = dir + "map.hpj";
    Write(dir + "ids.h", "IDS_A=1\n#include map.hpj\n#include ids.h\n[END]\nIDS_B=2\n");
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  static void Write(const std::string& path, const std::string& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (!data.empty() && std::fwrite(data.data(), 1, data.size(), f) != data.size()) std::abort();
    std::fclose(f);
  }
  std::string dir;
  std::string map;
};

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Scratch scratch;
  static const bool quiet = (platform::SetMessageDlgHandler([](platform::MessageIcon, const std::string&) {}), true);
  (void)quiet;

  // Folder separators would let an include reach any file of the machine; the
  // includes stay in the scratch folder.
  std::string text(reinterpret_cast<const char*>(data), size);
  std::replace(text.begin(), text.end(), '/', '_');
  std::replace(text.begin(), text.end(), '\\', '_');
  Scratch::Write(scratch.map, text);

  for (const bool isInclude : {false, true}) {
    std::vector<help::TContextRecord> records;
    help::ParseMapFile(scratch.map, isInclude, records);
    for (const auto& r : records) Require(r.Hash != 0);
  }

  help::THelpContextMap map(nullptr);
  map.SetFileName(scratch.map);
  help::TMemoryStream stored;
  map.WriteFileData(stored);
  stored.SetPosition(0);
  Require(stored.ReadInt32() == static_cast<int32_t>(map.RecordCount() * 8));
  int32_t previous = INT32_MIN;
  for (size_t i = 0; i < map.RecordCount(); ++i) {
    const int32_t hash = stored.ReadInt32();
    stored.ReadInt32();
    Require(hash >= previous);
    previous = hash;
  }

  help::TMemoryStream raw(std::string(reinterpret_cast<const char*>(data), size));
  try {
    map.ReadFileData(raw);
  } catch (const help::EReadError&) {
    Require(map.RecordCount() == 0);
  }
  for (const char* name : {"A", "IDH_A", "fMenu.bInfo", "fMenu_bInfo", "\x01"}) map.LookupContext(name);
  return 0;
}
