#include "platform/qtgui/programicon.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace platform {

QByteArray ProgramIconSvg() {
  QFile file(QStringLiteral(":/zorvik/zorvik.svg"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

QImage ProgramIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(ProgramIconSvg());
  if (!renderer.isValid()) return image;
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  renderer.render(&painter, QRectF(0, 0, size, size));
  return image;
}

}  // namespace platform
