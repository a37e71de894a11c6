#include "genlib/GenGraphUtils.h"

#include <cstdlib>
#include <new>

#include "genlib/GenSysInfo.h"

#ifdef GEN_HAS_MMX_BLEND
#include <mmintrin.h>
#endif

namespace genlib {

bool MmxActive = false;
AlphaEntry* AlphaTable = nullptr;
AlphaEntry* AlphaBias = nullptr;

namespace {

int startCount = 0;
void* alphaBlock = nullptr;

// 256 entries of 8 bytes, and room to move the start to an 8-byte boundary.
constexpr std::size_t kAlphaBlockSize = 2056;

std::uint32_t Alpha(std::uint32_t c) { return c >> 24; }

// One term of the portable mix, two channels at a time: lanes of at most
// 255 x 255 + 128 never carry into each other.
std::uint32_t Weigh(std::uint32_t pair, std::uint32_t w) { return ((pair * w + 0x00800080u) >> 8) & 0x00FF00FFu; }

namespace portable {

std::uint32_t MixColors(std::uint32_t f, std::uint32_t b, std::uint8_t w) {
  if (w == 0) return b;
  if (w == 255) return f;
  const std::uint32_t v = 255u - w;
  const std::uint32_t low = Weigh(f & 0x00FF00FFu, w) + Weigh(b & 0x00FF00FFu, v);
  const std::uint32_t high = Weigh((f >> 8) & 0x00FF00FFu, w) + Weigh((b >> 8) & 0x00FF00FFu, v);
  return low | (high << 8);
}

void MixColorsInto(std::uint32_t f, std::uint32_t& b, std::uint8_t w) { b = MixColors(f, b, w); }

std::uint32_t BlendColors(std::uint32_t f, std::uint32_t b) {
  return MixColors(f, b, static_cast<std::uint8_t>(Alpha(f)));
}

void BlendColorsInto(std::uint32_t f, std::uint32_t& b) { b = BlendColors(f, b); }

std::uint32_t BlendColorsEx(std::uint32_t f, std::uint32_t b, std::uint8_t m) {
  return MixColors(f, b, static_cast<std::uint8_t>((m * Alpha(f)) >> 8));
}

void BlendColorsExInto(std::uint32_t f, std::uint32_t& b, std::uint8_t m) { b = BlendColorsEx(f, b, m); }

void BlendRow(const std::uint32_t* source, std::uint32_t* destination, int count) {
  for (int i = 0; i < count; ++i) {
    const std::uint32_t a = Alpha(source[i]);
    if (a == 0) continue;
    destination[i] = a == 255 ? source[i] : BlendColors(source[i], destination[i]);
  }
}

void BlendRowEx(const std::uint32_t* source, std::uint32_t* destination, int count, std::uint8_t m) {
  for (int i = 0; i < count; ++i) BlendColorsExInto(source[i], destination[i], m);
}

}  // namespace portable

#ifdef GEN_HAS_MMX_BLEND
namespace mmx {

// The four channels of both colours in 16-bit lanes; every channel becomes
// (W x (cF - cB) + 256 x cB + 128) >> 8 with wrap-around, packed back with
// saturation. The caller leaves the multimedia state with _mm_empty.
inline std::uint32_t Mix(std::uint32_t f, std::uint32_t b, std::uint8_t w) {
  const __m64 zero = _mm_setzero_si64();
  const __m64 fl = _mm_unpacklo_pi8(_mm_cvtsi32_si64(static_cast<int>(f)), zero);
  const __m64 bl = _mm_unpacklo_pi8(_mm_cvtsi32_si64(static_cast<int>(b)), zero);
  const __m64 weight = *reinterpret_cast<const __m64*>(&AlphaTable[w]);
  const __m64 bias = *reinterpret_cast<const __m64*>(AlphaBias);
  __m64 r = _mm_mullo_pi16(_mm_sub_pi16(fl, bl), weight);
  r = _mm_add_pi16(r, _mm_slli_pi16(bl, 8));
  r = _mm_add_pi16(r, bias);
  r = _mm_srli_pi16(r, 8);
  return static_cast<std::uint32_t>(_mm_cvtsi64_si32(_mm_packs_pu16(r, zero)));
}

std::uint32_t MixColors(std::uint32_t f, std::uint32_t b, std::uint8_t w) {
  const std::uint32_t r = Mix(f, b, w);
  _mm_empty();
  return r;
}

void MixColorsInto(std::uint32_t f, std::uint32_t& b, std::uint8_t w) { b = MixColors(f, b, w); }

std::uint32_t BlendColors(std::uint32_t f, std::uint32_t b) {
  const std::uint32_t r = Mix(f, b, static_cast<std::uint8_t>(Alpha(f)));
  _mm_empty();
  return r;
}

void BlendColorsInto(std::uint32_t f, std::uint32_t& b) { b = BlendColors(f, b); }

std::uint32_t BlendColorsEx(std::uint32_t f, std::uint32_t b, std::uint8_t m) {
  const auto w = static_cast<std::uint8_t>((m * Alpha(f)) >> 8);
  if (w == 0) return b;
  const std::uint32_t r = Mix(f, b, w);
  _mm_empty();
  return r;
}

void BlendColorsExInto(std::uint32_t f, std::uint32_t& b, std::uint8_t m) { b = BlendColorsEx(f, b, m); }

void BlendRow(const std::uint32_t* source, std::uint32_t* destination, int count) {
  for (int i = 0; i < count; ++i) {
    const std::uint32_t a = Alpha(source[i]);
    if (a == 0) continue;
    destination[i] = a == 255 ? source[i] : Mix(source[i], destination[i], static_cast<std::uint8_t>(a));
  }
  _mm_empty();
}

void BlendRowEx(const std::uint32_t* source, std::uint32_t* destination, int count, std::uint8_t m) {
  for (int i = 0; i < count; ++i) {
    const auto w = static_cast<std::uint8_t>((m * Alpha(source[i])) >> 8);
    if (w == 0) continue;
    destination[i] = Mix(source[i], destination[i], w);
  }
  _mm_empty();
}

}  // namespace mmx
#endif

}  // namespace

constexpr BlendRoutines PortableBlend = {
    portable::MixColors,     portable::MixColorsInto,     portable::BlendColors, portable::BlendColorsInto,
    portable::BlendColorsEx, portable::BlendColorsExInto, portable::BlendRow,    portable::BlendRowEx,
};

#ifdef GEN_HAS_MMX_BLEND
constexpr BlendRoutines MmxBlend = {
    mmx::MixColors,     mmx::MixColorsInto,     mmx::BlendColors, mmx::BlendColorsInto,
    mmx::BlendColorsEx, mmx::BlendColorsExInto, mmx::BlendRow,    mmx::BlendRowEx,
};
#endif

BlendRoutines Blend = PortableBlend;

void SelectBlendRoutines(bool mmx) {
#ifdef GEN_HAS_MMX_BLEND
  Blend = mmx ? MmxBlend : PortableBlend;
#else
  Blend = PortableBlend;
#endif
}

void BuildAlphaTable() {
  if (alphaBlock) return;
  alphaBlock = std::malloc(kAlphaBlockSize);
  if (!alphaBlock) throw std::bad_alloc();
  const auto start = (reinterpret_cast<std::uintptr_t>(alphaBlock) + 7) & ~std::uintptr_t(7);
  AlphaTable = reinterpret_cast<AlphaEntry*>(start);
  for (std::uint16_t i = 0; i < 256; ++i) AlphaTable[i] = {i, i, i, i};
  AlphaBias = &AlphaTable[128];
}

void ReleaseAlphaTable() {
  std::free(alphaBlock);
  alphaBlock = nullptr;
  AlphaTable = nullptr;
  AlphaBias = nullptr;
}

void GenGraphUtilsStart() {
  if (startCount++ != 0) return;
  ProcessorInfo info;
  DetectProcessor(info);
#ifdef GEN_HAS_MMX_BLEND
  MmxActive = info.HasMmx;
#else
  MmxActive = false;
#endif
  SelectBlendRoutines(MmxActive);
  if (MmxActive) BuildAlphaTable();
}

void GenGraphUtilsEnd() {
  if (startCount == 0) return;
  if (--startCount != 0) return;
  if (MmxActive) ReleaseAlphaTable();
}

}  // namespace genlib
