#pragma once
// Filtered scaling of a picture to any size: two separable passes (rows, then
// columns) with integer weights in units of 1/256. The kernels are computed in
// extended precision and rounded to single precision exactly where the
// resampler has always rounded, so the same picture always gives the same bytes.
//
// Bitmaps are QImages in Format_BGR888: three bytes a pixel in the order blue,
// green, red, rows reached by row index with padded rows.

#include <QImage>

#include <cstdint>
#include <vector>

namespace genlib {

enum ResampleKernel : std::uint8_t {
  rkBox = 0,
  rkTriangle = 1,
  rkHermite = 2,
  rkBell = 3,
  rkBSpline = 4,
  rkLanczos3 = 5,
  rkMitchell = 6,
};

constexpr int kKernelCount = 7;

// A kernel: distance in source pixels (already scaled when shrinking) to weight.
using KernelFunction = float (*)(float);

float BoxKernel(float x);
float TriangleKernel(float x);
float HermiteKernel(float x);
float BellKernel(float x);
float BSplineKernel(float x);
float Lanczos3Kernel(float x);
float MitchellKernel(float x);

// sin(pi x) / (pi x), 1 at exactly 0.
float NormalizedSinc(float x);

// Both indexed by ResampleKernel.
extern const KernelFunction KernelFunctions[kKernelCount];
extern const float DefaultKernelRadius[kKernelCount];

// One contribution of a source pixel to an output pixel.
struct KernelTap {
  std::int32_t Weight;  // kernel value times 256, rounded; never 0 once stored
  std::int32_t Pixel;   // source index along the axis, inside the line
};
using TContributors = std::vector<KernelTap>;

// The taps of one output pixel; only the first Count of Contributors are valid.
struct TContributorEntry {
  std::int32_t Count = 0;
  TContributors Contributors;
};
using TContributorList = std::vector<TContributorEntry>;

// The scale of one axis: the first and the last pixel of a line land on the
// first and the last pixel of the target line.
float AxisScale(std::int32_t targetLength, std::int32_t sourceLength);

// Where source position j of a line of n pixels is read: mirrored at the
// edges, and clamped into the line when the kernel reaches past the mirror.
std::int32_t MirrorIndex(std::int64_t j, std::int32_t n);

// The taps of every output pixel of one axis.
TContributorList BuildContributorList(std::int32_t outputCount, std::int32_t sourceLength, float scale, float radius,
                                      KernelFunction kernel);

// This thread's channel buffers, one value a source pixel of the line being filtered.
struct TChannelBuffers {
  std::vector<std::int32_t> Red, Green, Blue;
};
TChannelBuffers& ThreadChannels();

// Copies Count pixels, Step bytes apart, into this thread's channel buffers,
// which must hold at least Count values.
void LoadChannels(std::int32_t Count, std::int32_t Step, const std::uint8_t* first);

// One output pixel (blue, green, red) from the first Count taps and the channel buffers.
void WeighTaps(std::int32_t Count, const TContributors& Contributors, std::uint8_t* output);

std::int32_t ClampToByte(std::int32_t Value);

// The filter proper. Target is Format_BGR888 of its final size, not null;
// Source is Format_BGR888 too, or Format_RGB32 on a little-endian machine.
// Radius is the final radius.
void ResampleTwoPass(KernelFunction kernel, const QImage& Source, QImage& Target, float Radius);

// Scales Source into Target. Source may be any image, also Target itself; a
// null Source leaves Target alone. A Radius of exactly 0 takes the kernel's
// default. Target ends up Format_BGR888 of the new size, or null when a size is
// not above 0. A picture too large for memory raises platform::EOutOfMemory and
// leaves Target as it was.
void ResampleGraphic(std::int32_t NewWidth, std::int32_t NewHeight, ResampleKernel Kernel, float Radius,
                     const QImage& Source, QImage& Target);

// A new, uninitialised image like QImage(width, height, format). A large one
// gets memory the system may back with huge pages, which for a whole picture
// costs far fewer page faults; null when the memory cannot be had.
QImage NewPictureImage(std::int32_t width, std::int32_t height, QImage::Format format);

// Scales Bitmap in place.
void ResampleBitmap(std::int32_t NewWidth, std::int32_t NewHeight, ResampleKernel Kernel, float Radius, QImage& Bitmap);

}  // namespace genlib
