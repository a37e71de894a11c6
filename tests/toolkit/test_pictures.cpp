// The picture loader: the types the picture dialog offers, chosen by
// extension; errors for what cannot be shown.
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

TEST(Pictures, ReadsBitmapsIconsJpegAndPngByExtension) {
  TempDir dir;
  // "obrázek" in code page 1250: the path reaches the file system as UTF-8.
  const std::string stem = dir.Path() + "obr\xE1zek";
  for (const char* ext : {".bmp", ".ico", ".jpg", ".JPEG", ".png"}) {
    const std::string path = stem + ext;
    const QByteArray format = QByteArray(ext + 1).toLower() == "jpeg" ? "jpg" : QByteArray(ext + 1).toLower();
    ASSERT_TRUE(Sample().save(ToQ(path), format.constData())) << ext;
    const QImage loaded = LoadPicture(path);
    EXPECT_EQ(loaded.size(), QSize(31, 17)) << ext;
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
  // A PNG named as a bitmap is read as a bitmap, and so fails.
  ASSERT_TRUE(Sample().save(ToQ(dir.File("png.bmp")), "png"));
  EXPECT_THROW(LoadPicture(dir.File("png.bmp")), EInvalidGraphic);

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
