#include "genlib/GenGraphicsInit.h"

#include <cmath>

namespace genlib {

Matrix3 IdentityMatrix{};
std::array<std::uint8_t, 256> GammaTable{};

namespace {
int startCount = 0;
constexpr float kDefaultGamma = 0.7f;
}  // namespace

void SetIdentityMatrix() {
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) IdentityMatrix[row][col] = row == col ? 1.0L : 0.0L;
}

void BuildGammaTable(float g) {
  // Double precision is ample: no entry of the curve lies near a half.
  const double exponent = g;
  for (int i = 0; i < 256; ++i) {
    double v = 255.0 * std::pow(i / 255.0, exponent);
    // A gamma of 0 or below gives values no byte can hold.
    if (!(v >= 0)) v = 0;
    if (v > 255) v = 255;
    GammaTable[i] = static_cast<std::uint8_t>(std::nearbyint(v));
  }
}

void GenGraphicsStart() {
  if (startCount++ != 0) return;
  SetIdentityMatrix();
  BuildGammaTable(kDefaultGamma);
}

void GenGraphicsEnd() {
  if (startCount == 0) return;
  --startCount;
}

}  // namespace genlib
