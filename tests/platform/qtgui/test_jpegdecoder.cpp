// The JPEG decoder: pictures at full size as 24-bit bitmaps, and errors that
// name the file instead of ending the program.
#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "platform/qtgui/jpegdecoder.h"

using namespace platform;

namespace {

std::string Jpeg(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(95);
  writer.write(image);
  return bytes.toStdString();
}

bool Near(QRgb a, QColor b) {
  return std::abs(qRed(a) - b.red()) < 8 && std::abs(qGreen(a) - b.green()) < 8 && std::abs(qBlue(a) - b.blue()) < 8;
}

TEST(JpegDecoder, ColourAndGreyPicturesComeAsBlueGreenRedBitmaps) {
  QImage colour(64, 48, QImage::Format_RGB32);
  colour.fill(QColor(200, 40, 10));
  for (int y = 0; y < 48; ++y)
    for (int x = 32; x < 64; ++x) colour.setPixelColor(x, y, QColor(10, 60, 220));
  const QImage decoded = DecodeJpeg(Jpeg(colour), "barvy.jpg");
  ASSERT_EQ(decoded.format(), QImage::Format_BGR888);
  EXPECT_EQ(decoded.size(), QSize(64, 48));
  EXPECT_TRUE(Near(decoded.pixel(8, 8), QColor(200, 40, 10)));
  EXPECT_TRUE(Near(decoded.pixel(56, 40), QColor(10, 60, 220)));
  // The bytes of a pixel lie blue, green, red.
  EXPECT_NEAR(decoded.constScanLine(8)[8 * 3 + 0], 10, 8);
  EXPECT_NEAR(decoded.constScanLine(8)[8 * 3 + 2], 200, 8);

  QImage grey(20, 10, QImage::Format_Grayscale8);
  grey.fill(128);
  const QImage g = DecodeJpeg(Jpeg(grey), "seda.jpg");
  EXPECT_EQ(g.format(), QImage::Format_BGR888);
  EXPECT_TRUE(Near(g.pixel(5, 5), QColor(128, 128, 128)));
}

TEST(JpegDecoder, BadDataRaisesAnErrorNamingTheFile) {
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(Qt::red);
  std::string damaged = Jpeg(image);
  damaged.resize(30);
  damaged += std::string(100, '\x01');
  const std::string cases[] = {damaged, "GIF89a not a jpeg", "", "\xFF\xD8\xFF"};
  for (const std::string& bytes : cases) {
    try {
      DecodeJpeg(bytes, "/tmp/obr\xE1zek.jpg");
      ADD_FAILURE() << "decoded " << bytes.size() << " bytes";
    } catch (const EJPEG& e) {
      EXPECT_EQ(std::string(e.what()).rfind("'/tmp/obr\xE1zek.jpg' is not a valid JPEG picture (", 0), 0u) << e.what();
    }
  }
  // The decoder is whole after an error: the next picture decodes.
  EXPECT_EQ(DecodeJpeg(Jpeg(image), "a.jpg").size(), QSize(32, 32));

  testsupport::TempDir dir;
  EXPECT_THROW(LoadJpegFile(dir.File("chybi.jpg")), EInOutError);
  testsupport::WriteBytes(dir.File("a.jpg"), Jpeg(image));
  EXPECT_EQ(LoadJpegFile(dir.File("a.jpg")).size(), QSize(32, 32));
  EXPECT_TRUE(LooksLikeJpeg(Jpeg(image)));
  EXPECT_FALSE(LooksLikeJpeg("\x89PNG"));
}

// The picture with its header claiming another size.
std::string Claiming(std::string jpeg, int width, int height) {
  const size_t sof = jpeg.find("\xFF\xC0");
  if (sof == std::string::npos) return {};
  jpeg[sof + 5] = static_cast<char>(height >> 8);
  jpeg[sof + 6] = static_cast<char>(height & 0xFF);
  jpeg[sof + 7] = static_cast<char>(width >> 8);
  jpeg[sof + 8] = static_cast<char>(width & 0xFF);
  return jpeg;
}

TEST(JpegDecoder, AHeaderClaimingMoreThanQtsReadersTakeIsRefusedBeforeDecoding) {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(Qt::blue);
  // A few hundred bytes that claim 30000 x 30000 pixels (2.7 GB).
  const std::string huge = Claiming(Jpeg(image), 30000, 30000);
  ASSERT_FALSE(huge.empty());
  try {
    DecodeJpeg(huge, "/tmp/velky.jpg");
    ADD_FAILURE() << "a 30000 x 30000 picture was decoded";
  } catch (const EJPEG& e) {
    EXPECT_STREQ(e.what(), "'/tmp/velky.jpg' is too large a picture (30000 x 30000 pixels)");
  }
  // The limit is the one Qt's readers keep, whatever it is set to.
  const int before = QImageReader::allocationLimit();
  QImageReader::setAllocationLimit(1);  // 1 MB
  EXPECT_THROW(DecodeJpeg(Claiming(Jpeg(image), 600, 600), "a.jpg"), EJPEG);
  EXPECT_EQ(DecodeJpeg(Claiming(Jpeg(image), 500, 500), "a.jpg").size(), QSize(500, 500));
  QImageReader::setAllocationLimit(before);
}

}  // namespace
