#pragma once
// Colour blending of the general library. Each operation has a portable and
// an MMX version; start-up puts the versions the processor can run into the
// operation slots and, for MMX, builds the alpha table the MMX versions read.
//
// Colours are 32-bit values of four 8-bit channels with alpha in the top byte.
// Mix(F, B, W) weighs every channel, alpha included, W/255 towards F.

#include <array>
#include <cstdint>

namespace genlib {

using MixColorsFn = std::uint32_t (*)(std::uint32_t f, std::uint32_t b, std::uint8_t w);
using MixColorsIntoFn = void (*)(std::uint32_t f, std::uint32_t& b, std::uint8_t w);
using BlendColorsFn = std::uint32_t (*)(std::uint32_t f, std::uint32_t b);
using BlendColorsIntoFn = void (*)(std::uint32_t f, std::uint32_t& b);
using BlendColorsExFn = std::uint32_t (*)(std::uint32_t f, std::uint32_t b, std::uint8_t m);
using BlendColorsExIntoFn = void (*)(std::uint32_t f, std::uint32_t& b, std::uint8_t m);
using BlendRowFn = void (*)(const std::uint32_t* source, std::uint32_t* destination, int count);
using BlendRowExFn = void (*)(const std::uint32_t* source, std::uint32_t* destination, int count, std::uint8_t m);

// One version of each of the eight blend operations.
struct BlendRoutines {
  MixColorsFn MixColors;                  // Mix(F, B, W)
  MixColorsIntoFn MixColorsInto;          // B := Mix(F, B, W)
  BlendColorsFn BlendColors;              // Mix(F, B, alpha of F)
  BlendColorsIntoFn BlendColorsInto;      // B := BlendColors(F, B)
  BlendColorsExFn BlendColorsEx;          // Mix(F, B, (M x alpha of F) >> 8)
  BlendColorsExIntoFn BlendColorsExInto;  // B := BlendColorsEx(F, B, M)
  BlendRowFn BlendRow;                    // per pixel; alpha 0 keeps, 255 copies
  BlendRowExFn BlendRowEx;                // per pixel BlendColorsExInto
};

// Portable versions: ((W x cF + 128) >> 8) + (((255 - W) x cB + 128) >> 8)
// per channel, two channels at a time; W = 0 gives B and W = 255 gives F.
extern const BlendRoutines PortableBlend;

// MMX versions: (W x cF + (256 - W) x cB + 128) >> 8 per channel in 16-bit
// lanes, at every weight; BlendColorsEx and BlendRowEx keep B at weight 0.
// They read the alpha table, which must be built.
#if defined(__i386__) || defined(__x86_64__)
#define GEN_HAS_MMX_BLEND 1
extern const BlendRoutines MmxBlend;
#endif

// The operation slots, filled once at start-up (the portable versions until then).
extern BlendRoutines Blend;

extern bool MmxActive;

// One entry of the alpha table: its index in each of four 16-bit lanes.
using AlphaEntry = std::array<std::uint16_t, 4>;
// 256 entries on an 8-byte boundary inside a block kept for freeing, and the
// entry whose lanes hold the rounding bias 128. Null unless MmxActive.
extern AlphaEntry* AlphaTable;
extern AlphaEntry* AlphaBias;

void SelectBlendRoutines(bool mmx);
// Raises std::bad_alloc when the block cannot be had.
void BuildAlphaTable();
void ReleaseAlphaTable();

// The unit's start-up and end work, each run once however often it is entered.
void GenGraphUtilsStart();
void GenGraphUtilsEnd();

}  // namespace genlib
