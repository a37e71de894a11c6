#pragma once
// The program's icon. Its one source is the drawing data/zorvik.svg, built
// into the program, so every size is drawn from it and none goes missing.

#include <QByteArray>
#include <QImage>

namespace platform {

// The icon drawn at size by size pixels on a transparent background.
QImage ProgramIcon(int size);

// The drawing itself, for places that take a scalable icon.
QByteArray ProgramIconSvg();

}  // namespace platform
