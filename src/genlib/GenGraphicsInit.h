#pragma once
// The drawing tables that the graphics unit prepares at start-up: the
// identity matrix and the gamma table.

#include <array>
#include <cstdint>

namespace genlib {

// 3 x 3 in extended precision, row by row.
using Matrix3 = std::array<std::array<long double, 3>, 3>;
extern Matrix3 IdentityMatrix;

// Entry i = round(255 x (i / 255) ^ g), an exact half to the even neighbour.
extern std::array<std::uint8_t, 256> GammaTable;

void SetIdentityMatrix();
void BuildGammaTable(float g);

// The unit's start-up and end work, each run once however often it is entered.
void GenGraphicsStart();
void GenGraphicsEnd();

}  // namespace genlib
