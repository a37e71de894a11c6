// Reads a picture, scales it with the Mitchell kernel and writes it as PPM:
// the whole-process half of bench_resample, doing what convert does there.
//
//   bench_resample_ppm INPUT OUTPUT WIDTH HEIGHT

#include <QImage>
#include <QImageReader>

#include <cstdio>
#include <cstdlib>

#include "genlib/GenGraphics.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s INPUT OUTPUT WIDTH HEIGHT\n", argv[0]);
    return 2;
  }
  // Qt's reader fills an image of the size and format it reports when handed
  // one, so the picture's memory comes from the resampler's large-image maker.
  QImageReader reader(QString::fromLocal8Bit(argv[1]));
  QImage picture;
  const QSize size = reader.size();
  if (size.isValid() && reader.imageFormat() != QImage::Format_Invalid)
    picture = genlib::NewPictureImage(size.width(), size.height(), reader.imageFormat());
  if (!reader.read(&picture)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  genlib::ResampleBitmap(std::atoi(argv[3]), std::atoi(argv[4]), genlib::rkMitchell, 0, picture);
  if (!picture.save(QString::fromLocal8Bit(argv[2]), "PPM")) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
