// Any bytes as a profile file: reading never fails, and a write or an erasure
// changes only what it was asked to change. The input is parsed once and its
// keys are looked up in that parse, as the program reads a table; writes are
// checked against the bytes they leave.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/profile.h"

using namespace platform;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool Same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Cp1250Lower(static_cast<unsigned char>(a[i])) != Cp1250Lower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// Writes one key and checks that every other value read before reads the same
// after, and that the bytes written parse back to what the document holds.
void WriteAndCompare(const profile::Document& before, std::string_view data, const std::string& section) {
  const std::string key = "NewKey";
  profile::Document doc(data);
  doc.Set(section, key, "v");
  const std::string out = doc.Bytes();
  const profile::Document again(out);
  Check(again.Value(section, key, "") == "v");
  Check(again.Bytes() == out);
  int checked = 0;
  for (const std::string& s : before.Sections()) {
    for (const std::string& k : before.Keys(s)) {
      if (Same(s, section) && Same(k, key)) continue;
      Check(again.Value(s, k, "\x01") == before.Value(s, k, "\x01"));
      if (++checked == 64) return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view data(reinterpret_cast<const char*>(bytes), size);
  const profile::Document doc(data);
  // Reading keeps every byte.
  Check(doc.Bytes() == data);
  const auto sections = doc.Sections();
  for (const std::string& s : sections) {
    for (const std::string& k : doc.Keys(s)) doc.Value(s, k, "");
  }
  WriteAndCompare(doc, data, "a");
  if (!sections.empty()) {
    WriteAndCompare(doc, data, sections.front());
    profile::Document erased(data);
    Check(erased.Erase(sections.front()));
    for (const std::string& s : profile::Document(erased.Bytes()).Sections()) Check(!Same(s, sections.front()));
  }
  // A key that could never be read back is refused, and the document stays as it was.
  profile::Document refused(data);
  try {
    refused.Set("a", "[Fake]", "v");
    Check(false);
  } catch (const EIniFileException&) {
  }
  Check(refused.Bytes() == data);
  return 0;
}
