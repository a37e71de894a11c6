// Times the resampler with the Mitchell kernel on the two sizes the printing
// meets (a photo enlarged by 4, a large photo reduced) against ImageMagick's
// convert doing the same on the same picture, single-threaded, in this run.
//
//   bench_resample [--runs N] [--convert PATH]
//
// convert's own figure includes starting the program and reading the picture,
// so it is also timed reading the picture alone; the difference is its resize.

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "genlib/GenGraphics.h"

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Smooth shapes with a little noise, a stand-in for a photograph.
QImage MakePhoto(int w, int h, unsigned seed) {
  QImage image(w, h, QImage::Format_BGR888);
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> noise(-10, 10);
  for (int y = 0; y < h; ++y) {
    uchar* line = image.scanLine(y);
    const double fy = static_cast<double>(y) / h;
    for (int x = 0; x < w; ++x) {
      const double fx = static_cast<double>(x) / w;
      const double wave = std::sin(fx * 17.0 + fy * 5.0) * std::cos(fy * 11.0 - fx * 3.0);
      const double blob = std::exp(-((fx - 0.6) * (fx - 0.6) + (fy - 0.4) * (fy - 0.4)) * 12.0);
      const int v[3] = {static_cast<int>(90 + 70 * wave + 60 * blob), static_cast<int>(40 + 160 * fx * fy + 50 * wave),
                        static_cast<int>(200 - 120 * fy + 40 * blob)};
      for (int c = 0; c < 3; ++c) line[x * 3 + c] = static_cast<uchar>(std::clamp(v[c] + noise(rng), 0, 255));
    }
  }
  return image;
}

double BestOurs(const QImage& photo, int dw, int dh, int runs) {
  double best = 1e300;
  for (int r = 0; r < runs; ++r) {
    QImage bitmap = photo;
    const auto start = Clock::now();
    genlib::ResampleBitmap(dw, dh, genlib::rkMitchell, 0, bitmap);
    best = std::min(best, Millis(Clock::now() - start));
    if (bitmap.size() != QSize(dw, dh)) {
      std::fprintf(stderr, "resampled picture has the wrong size\n");
      std::exit(1);
    }
  }
  return best;
}

double BestConvert(const QString& convert, const QStringList& args, int runs) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("MAGICK_THREAD_LIMIT"), QStringLiteral("1"));
  double best = 1e300;
  for (int r = 0; r < runs; ++r) {
    QProcess process;
    process.setProcessEnvironment(env);
    const auto start = Clock::now();
    process.start(convert, args);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
      std::fprintf(stderr, "convert failed: %s\n", process.readAllStandardError().constData());
      std::exit(1);
    }
    best = std::min(best, Millis(Clock::now() - start));
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  QString convert;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
      runs = std::max(1, std::atoi(argv[++i]));
    else if (std::strcmp(argv[i], "--convert") == 0 && i + 1 < argc)
      convert = QString::fromLocal8Bit(argv[++i]);
    else {
      std::fprintf(stderr, "usage: %s [--runs N] [--convert PATH]\n", argv[0]);
      return 2;
    }
  }
  if (convert.isEmpty()) convert = QStandardPaths::findExecutable(QStringLiteral("convert-im6.q16"));
  if (convert.isEmpty()) convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
  if (convert.isEmpty()) {
    std::fprintf(stderr, "ImageMagick's convert was not found\n");
    return 1;
  }
  QTemporaryDir dir;
  if (!dir.isValid()) return 1;

  struct Case {
    int sw, sh, dw, dh;
  };
  const Case cases[] = {{1000, 750, 4000, 3000}, {4000, 3000, 800, 600}};

  std::printf("Mitchell, best of %d runs, convert single-threaded (%s)\n", runs, qPrintable(convert));
  std::printf("%-24s %10s %12s %12s %10s %10s\n", "case", "ours ms", "convert ms", "its resize", "vs resize", "vs whole");
  for (const Case& c : cases) {
    const QImage photo = MakePhoto(c.sw, c.sh, 7u);
    const QString input = dir.filePath(QStringLiteral("photo-%1x%2.ppm").arg(c.sw).arg(c.sh));
    if (!photo.save(input, "PPM")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(input));
      return 1;
    }
    const QString size = QStringLiteral("%1x%2!").arg(c.dw).arg(c.dh);
    const double ours = BestOurs(photo, c.dw, c.dh, runs);
    const double whole = BestConvert(
        convert, {input, QStringLiteral("-filter"), QStringLiteral("Mitchell"), QStringLiteral("-resize"), size,
                  QStringLiteral("null:")},
        runs);
    const double reading = BestConvert(convert, {input, QStringLiteral("null:")}, runs);
    const double resize = std::max(whole - reading, 1e-3);
    const std::string name = std::to_string(c.sw) + "x" + std::to_string(c.sh) + " -> " + std::to_string(c.dw) +
                             "x" + std::to_string(c.dh);
    std::printf("%-24s %10.1f %12.1f %12.1f %10.3f %10.3f\n", name.c_str(), ours, whole, resize, ours / resize,
                ours / whole);
  }
  std::printf("ratio = our time / convert's time; below 1 is faster\n");
  return 0;
}
