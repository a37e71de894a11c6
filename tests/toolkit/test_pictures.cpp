// The picture loader: the types the picture dialog offers, the decoder chosen
// by the file's content; errors for what cannot be shown.
#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "toolkit/Toolkit.h"

using namespace toolkit;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

QImage Sample() {
  QImage image(31, 17, QImage::Format_RGB32);
  image.fill(QColor(70, 130, 210));
  return image;
}

TEST(Pictures, ReadsBitmapsIconsJpegAndPngWhateverTheirNamesSay) {
  TempDir dir;
  // "obrázek" in code page 1250: the path reaches the file system as UTF-8.
  const std::string stem = dir.Path() + "obr\xE1zek";
  for (const char* ext : {".bmp", ".ico", ".jpg", ".JPEG", ".png"}) {
    const std::string path = stem + ext;
    const QByteArray format = QByteArray(ext + 1).toLower() == "jpeg" ? "jpg" : QByteArray(ext + 1).toLower();
    ASSERT_TRUE(Sample().save(ToQ(path), format.constData())) << ext;
    const QImage loaded = LoadPicture(path);
    EXPECT_EQ(loaded.size(), QSize(31, 17)) << ext;
    EXPECT_EQ(loaded.pixelColor(3, 3).blue() / 8, 210 / 8) << ext;
  }
  // A picture saved under another type's name, or with a name of no type.
  for (const auto& [format, name] : {std::pair{"png", "png.jpg"}, {"jpg", "jpeg.png"}, {"bmp", "bmp.ico"},
                                     {"ico", "ico.bmp"}, {"png", "bez_pripony"}}) {
    ASSERT_TRUE(Sample().save(ToQ(dir.File(name)), format)) << name;
    EXPECT_EQ(LoadPicture(dir.File(name)).size(), QSize(31, 17)) << name;
  }
}

TEST(Pictures, WhatCannotBeShownRaisesAClearError) {
  TempDir dir;
  WriteBytes(dir.File("broken.jpg"), "this is no picture");
  try {
    LoadPicture(dir.File("broken.jpg"));
    FAIL() << "undecodable data was accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(std::string(e.what()), "'" + dir.File("broken.jpg") + "' is not a valid picture");
  }
  // Text named as a picture, and a picture cut short.
  WriteBytes(dir.File("text.png"), "\x89PNG is how it starts");
  EXPECT_THROW(LoadPicture(dir.File("text.png")), EInvalidGraphic);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  Sample().save(&buffer, "png");
  WriteBytes(dir.File("cut.png"), png.left(40).toStdString());
  EXPECT_THROW(LoadPicture(dir.File("cut.png")), EInvalidGraphic);

  WriteBytes(dir.File("plan.wmf"), std::string(64, '\0'));
  try {
    LoadPicture(dir.File("plan.wmf"));
    FAIL() << "a metafile was accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Unknown picture file extension (.wmf)");
  }
  EXPECT_THROW(LoadPicture(dir.File("missing.png")), platform::EInOutError);
}

}  // namespace
