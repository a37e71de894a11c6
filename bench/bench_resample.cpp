// Times the resampler with the Mitchell kernel on the two sizes the printing
// meets (a photo enlarged by 4, a large photo reduced), side by side with two
// references measured in the same run on the same pictures:
//
//  (a) the whole process, read + resize + write of a PPM file: our small
//      program bench_resample_ppm (Qt's PPM reader and writer around the
//      resampler) against ImageMagick's convert -filter Mitchell -resize,
//      both single-threaded;
//  (b) the filter alone, in process: our ResampleBitmap against Pillow's
//      Image.resize(..., BICUBIC) timed inside Python (both kernels reach two
//      source pixels either side).
//
//   bench_resample [--runs N] [--convert PATH] [--python PATH]

#include <QFileInfo>
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

double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

[[noreturn]] void Fail(const char* what, const QByteArray& detail = {}) {
  std::fprintf(stderr, "%s%s%s\n", what, detail.isEmpty() ? "" : ": ", detail.constData());
  std::exit(1);
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

// The filter alone, in this process.
double BestFilter(const QImage& photo, int dw, int dh, int runs) {
  double best = 1e300;
  for (int r = 0; r < runs; ++r) {
    QImage bitmap = photo;
    const auto start = Clock::now();
    genlib::ResampleBitmap(dw, dh, genlib::rkMitchell, 0, bitmap);
    best = std::min(best, Millis(Clock::now() - start));
    if (bitmap.size() != QSize(dw, dh)) Fail("resampled picture has the wrong size");
  }
  return best;
}

// One program run from start to exit, single-threaded; its standard output.
QByteArray RunOnce(const QString& program, const QStringList& args, double& millis) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("MAGICK_THREAD_LIMIT"), QStringLiteral("1"));
  env.insert(QStringLiteral("OMP_NUM_THREADS"), QStringLiteral("1"));
  QProcess process;
  process.setProcessEnvironment(env);
  const auto start = Clock::now();
  process.start(program, args);
  if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    Fail(qPrintable(program + QStringLiteral(" failed")), process.readAllStandardError());
  millis = Millis(Clock::now() - start);
  return process.readAllStandardOutput();
}

double BestProcess(const QString& program, const QStringList& args, int runs) {
  double best = 1e300;
  for (int r = 0; r < runs; ++r) {
    double millis = 0;
    RunOnce(program, args, millis);
    best = std::min(best, millis);
  }
  return best;
}

// Pillow's resize timed inside Python, best of the runs, in milliseconds.
const char kPillow[] = R"(
import sys, time
from PIL import Image
image = Image.open(sys.argv[1])
image.load()
w, h, runs = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
bicubic = getattr(Image, "Resampling", Image).BICUBIC
best = float("inf")
for _ in range(runs):
    start = time.perf_counter()
    out = image.resize((w, h), bicubic)
    best = min(best, time.perf_counter() - start)
    assert out.size == (w, h)
print(best * 1000.0)
)";

double BestPillow(const QString& python, const QString& input, int dw, int dh, int runs) {
  double ignored = 0;
  const QByteArray out = RunOnce(python,
                                 {QStringLiteral("-c"), QString::fromLatin1(kPillow), input, QString::number(dw),
                                  QString::number(dh), QString::number(runs)},
                                 ignored);
  bool ok = false;
  const double millis = out.trimmed().toDouble(&ok);
  if (!ok) Fail("Pillow gave no time", out);
  return millis;
}

QString Find(const QString& given, std::initializer_list<const char*> names) {
  if (!given.isEmpty()) return given;
  for (const char* name : names) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!path.isEmpty()) return path;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  QString convert, python;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
    else if (std::strcmp(argv[i], "--convert") == 0 && i + 1 < argc) convert = QString::fromLocal8Bit(argv[++i]);
    else if (std::strcmp(argv[i], "--python") == 0 && i + 1 < argc) python = QString::fromLocal8Bit(argv[++i]);
    else {
      std::fprintf(stderr, "usage: %s [--runs N] [--convert PATH] [--python PATH]\n", argv[0]);
      return 2;
    }
  }
  // The Debian program itself, not a wrapper that may stand before it in the PATH.
  convert = Find(convert, {"convert-im6.q16", "convert"});
  // Debian's Python, which python3-pil serves, before any other in the PATH.
  python = Find(python, {"/usr/bin/python3", "python3"});
  if (convert.isEmpty()) Fail("ImageMagick's convert was not found");
  if (python.isEmpty()) Fail("python3 was not found");
  const QString ours = QStringLiteral(RESAMPLE_PPM);
  QTemporaryDir dir;
  if (!dir.isValid()) Fail("no temporary folder");

  struct Case {
    int sw, sh, dw, dh;
  };
  const Case cases[] = {{1000, 750, 4000, 3000}, {4000, 3000, 800, 600}};

  std::printf("Mitchell, best of %d runs, single-threaded\n", runs);
  std::printf("(a) whole process, read + resize + write PPM: ours (%s) against %s\n",
              qPrintable(QFileInfo(ours).fileName()), qPrintable(convert));
  std::printf("(b) filter alone, in process: ResampleBitmap against Pillow Image.resize(BICUBIC) in %s\n\n",
              qPrintable(python));
  std::printf("%-24s %10s %10s %7s   %10s %10s %7s\n", "case", "(a) ours", "convert", "ratio", "(b) ours", "Pillow",
              "ratio");
  for (const Case& c : cases) {
    const QImage photo = MakePhoto(c.sw, c.sh, 7u);
    const QString input = dir.filePath(QStringLiteral("photo-%1x%2.ppm").arg(c.sw).arg(c.sh));
    const QString output = dir.filePath(QStringLiteral("out.ppm"));
    if (!photo.save(input, "PPM")) Fail("cannot write the picture", input.toLocal8Bit());
    const QString size = QStringLiteral("%1x%2!").arg(c.dw).arg(c.dh);

    const double oursWhole = BestProcess(ours, {input, output, QString::number(c.dw), QString::number(c.dh)}, runs);
    if (QImage(output).size() != QSize(c.dw, c.dh)) Fail("our program wrote the wrong size");
    const double convertWhole = BestProcess(
        convert,
        {input, QStringLiteral("-filter"), QStringLiteral("Mitchell"), QStringLiteral("-resize"), size, output}, runs);
    const double oursFilter = BestFilter(photo, c.dw, c.dh, runs);
    const double pillow = BestPillow(python, input, c.dw, c.dh, runs);

    const std::string name =
        std::to_string(c.sw) + "x" + std::to_string(c.sh) + " -> " + std::to_string(c.dw) + "x" + std::to_string(c.dh);
    std::printf("%-24s %8.1fms %8.1fms %7.3f   %8.1fms %8.1fms %7.3f\n", name.c_str(), oursWhole, convertWhole,
                oursWhole / convertWhole, oursFilter, pillow, oursFilter / pillow);
  }
  std::printf("ratio = our time / the reference's time; below 1 is faster\n");
  return 0;
}
