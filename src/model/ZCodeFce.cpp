#include "model/ZCodeFce.h"

#include "platform/files.h"

namespace {

// sign +1 scrambles, -1 unscrambles; unsigned arithmetic wraps modulo 256.
std::string Shift(const std::string& data, const std::string& key, int sign) {
  if (key.empty()) return data;
  std::string out(data);
  const size_t period = key.size();
  size_t k = 1 % period;  // the first body byte is position 1
  for (char& c : out) {
    const auto shift = static_cast<unsigned char>(key[k]);
    const auto byte = static_cast<unsigned char>(c);
    c = static_cast<char>(static_cast<unsigned char>(sign > 0 ? byte + shift : byte - shift));
    if (++k == period) k = 0;
  }
  return out;
}

}  // namespace

std::string Scramble(const std::string& data, const std::string& key) { return Shift(data, key, +1); }

std::string Unscramble(const std::string& data, const std::string& key) { return Shift(data, key, -1); }

void UnscrambleAt(char* data, size_t size, const std::string& key, unsigned long long position) {
  if (key.empty()) return;
  const size_t period = key.size();
  size_t k = static_cast<size_t>(position % period);
  for (size_t i = 0; i < size; ++i) {
    data[i] = static_cast<char>(static_cast<unsigned char>(data[i]) - static_cast<unsigned char>(key[k]));
    if (++k == period) k = 0;
  }
}

std::string ReadWholeFile(const std::string& path) { return platform::ReadFileBytes(path).value_or(std::string()); }

void WriteWholeFile(const std::string& path, const std::string& data) { platform::WriteFileAtomic(path, data); }
