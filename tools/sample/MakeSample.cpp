// Writes the sample test Ukazka.sst and its picture Ukazka.jpg into the folder
// given as the only argument. The picture is drawn here, the test is written
// by SaveTest, and the test names the picture by its full path.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "platform/errors.h"
#include "model/uDTest.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace {

using platform::Utf8ToCp1250;

constexpr int kWidth = 240;
constexpr int kHeight = 180;

// A blue regular hexagon with a dark rim on white, smoothed by 4x4 samples per pixel.
std::vector<unsigned char> DrawHexagon() {
  const double cx = kWidth / 2.0, cy = kHeight / 2.0, radius = 75.0, rim = 4.0;
  const double apothem = radius * std::cos(M_PI / 6);
  std::array<std::array<double, 2>, 6> normals;
  for (int k = 0; k < 6; ++k) normals[k] = {std::cos(M_PI / 3 * k), std::sin(M_PI / 3 * k)};
  const std::array<double, 3> white = {255, 255, 255}, fill = {70, 130, 210}, edge = {20, 40, 90};

  std::vector<unsigned char> pixels(kWidth * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      std::array<double, 3> sum = {0, 0, 0};
      for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
          const double px = x + (sx + 0.5) / 4 - cx, py = y + (sy + 0.5) / 4 - cy;
          double reach = 0;
          for (const auto& n : normals) reach = std::max(reach, px * n[0] + py * n[1]);
          const auto& colour = reach > apothem ? white : reach > apothem - rim ? edge : fill;
          for (int c = 0; c < 3; ++c) sum[c] += colour[c];
        }
      }
      for (int c = 0; c < 3; ++c) pixels[(y * kWidth + x) * 3 + c] = static_cast<unsigned char>(sum[c] / 16 + 0.5);
    }
  }
  return pixels;
}

bool WriteJpeg(const std::string& path, const std::vector<unsigned char>& pixels) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, out);
  cinfo.image_width = kWidth;
  cinfo.image_height = kHeight;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(&pixels[cinfo.next_scanline * kWidth * 3]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(out) == 0;
}

struct Question {
  const char* text;
  std::array<const char*, 4> answers;
  int correct;
  int points;
  bool picture;
};

const Question kQuestions[] = {
    {"Jaké je hlavní město České republiky?", {"Brno", "Praha", "Ostrava", "Plzeň"}, 1, 1, false},
    {"Kolik je 7 krát 8?", {"54", "58", "56", "64"}, 2, 1, false},
    {"Která řeka protéká Prahou?", {"Vltava", "Morava", "Odra", "Dyje"}, 0, 1, false},
    {"Kolik stran má útvar na obrázku?", {"čtyři", "pět", "šest", "osm"}, 2, 2, true},
    {"Která hora je nejvyšší v České republice?", {"Praděd", "Lysá hora", "Ještěd", "Sněžka"}, 3, 2, false},
    {"Kolik minut má jedna hodina?", {"60", "100", "30", "24"}, 0, 1, false},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir = std::filesystem::absolute(argv[1]);
  const std::string picture = (dir / "Ukazka.jpg").string();
  if (!WriteJpeg(picture, DrawHexagon())) {
    std::fprintf(stderr, "cannot write %s\n", picture.c_str());
    return 1;
  }

  TDTest test;
  test.Name = Utf8ToCp1250("Ukázkový test: zeměpis a počty");
  test.AnswerCount = 4;
  test.MultipleCorrect = false;
  test.GradingMode = 2;  // by percent
  test.Limit1 = 90;
  test.Limit2 = 75;
  test.Limit3 = 50;
  test.Limit4 = 30;
  test.QuestionTimeLimit = 60;
  test.TestTimeLimit = 10;
  test.ShowCorrectAnswers = true;
  for (const Question& source : kQuestions) {
    AppendQuestion(test);
    TOtazky& q = test.Questions.back();
    q.Text = Utf8ToCp1250(source.text);
    q.Points = source.points;
    if (source.picture) q.Picture = Utf8ToCp1250(picture);
    for (size_t j = 0; j < source.answers.size(); ++j) {
      q.Answers[j] = Utf8ToCp1250(source.answers[j]);
      q.Correct[j] = static_cast<int>(j) == source.correct;
    }
  }
  try {
    SaveTest(test, Utf8ToCp1250((dir / "Ukazka.sst").string()));
  } catch (const platform::Exception& e) {
    std::fprintf(stderr, "%s\n", platform::Cp1250ToUtf8(e.what()).c_str());
    return 1;
  }
  return 0;
}
