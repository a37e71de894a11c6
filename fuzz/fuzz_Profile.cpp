// Any bytes as a profile file: reading never fails, and a write or an erasure
// changes only what it was asked to change.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/cp1250.h"
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

// Writes one key and checks that every other value read before reads the same after.
void WriteAndCompare(std::string_view data, const std::string& section) {
  const std::string key = "NewKey";
  const std::string out = profile::WithValue(data, section, key, "v");
  Check(profile::ReadValue(out, section, key, "") == "v");
  int checked = 0;
  for (const std::string& s : profile::SectionNames(data)) {
    for (const std::string& k : profile::SectionKeys(data, s)) {
      if (Same(s, section) && Same(k, key)) continue;
      Check(profile::ReadValue(out, s, k, "\x01") == profile::ReadValue(data, s, k, "\x01"));
      if (++checked == 16) return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view data(reinterpret_cast<const char*>(bytes), size);
  const auto sections = profile::SectionNames(data);
  for (const std::string& s : sections) profile::SectionKeys(data, s);
  WriteAndCompare(data, "a");
  if (!sections.empty()) {
    WriteAndCompare(data, sections.front());
    const auto erased = profile::WithoutSection(data, sections.front());
    Check(erased.has_value());
    for (const std::string& s : profile::SectionNames(*erased)) Check(!Same(s, sections.front()));
  }
  return 0;
}
