#include "ui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace tracklore {

namespace {

void drawRecord(QPainter& p, const QRectF& r) {
  QRadialGradient groove(r.center(), r.width() / 2);
  groove.setColorAt(0.0, QColor(0x30, 0x30, 0x30));
  groove.setColorAt(0.7, QColor(0x10, 0x10, 0x10));
  groove.setColorAt(1.0, QColor(0x28, 0x28, 0x28));
  p.setPen(QPen(QColor(0x05, 0x05, 0x05), r.width() / 48));
  p.setBrush(groove);
  p.drawEllipse(r);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x55, 0x55, 0x55), r.width() / 96));
  for (double f : {0.82, 0.68, 0.55}) {
    QRectF ring(0, 0, r.width() * f, r.height() * f);
    ring.moveCenter(r.center());
    p.drawEllipse(ring);
  }
  QRectF label(0, 0, r.width() * 0.36, r.height() * 0.36);
  label.moveCenter(r.center());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xE0, 0x6C, 0x1F));
  p.drawEllipse(label);
  QRectF hole(0, 0, r.width() * 0.07, r.height() * 0.07);
  hole.moveCenter(r.center());
  p.setBrush(QColor(0xF4, 0xF0, 0xE8));
  p.drawEllipse(hole);
}

QPixmap recordPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  drawRecord(p, QRectF(1, 1, size - 2, size - 2));
  return pixmap;
}

}  // namespace

QIcon appIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(recordPixmap(size));
  return icon;
}

QPixmap browsePixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  drawRecord(p, QRectF(1, 1, size * 0.78, size * 0.78));
  const double lens = size * 0.42;
  QRectF glass(size - lens - 2, size - lens - 2, lens, lens);
  glass.translate(-size * 0.08, -size * 0.08);
  p.setPen(QPen(QColor(0x6B, 0x4A, 0x2B), size / 12.0, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(glass.center() + QPointF(lens * 0.35, lens * 0.35),
             QPointF(size - 2.5, size - 2.5));
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), size / 18.0));
  p.setBrush(QColor(0xCF, 0xE8, 0xFF, 0xC8));
  p.drawEllipse(glass);
  return pixmap;
}

QPixmap databasePixmap(bool open, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor body = open ? QColor(0x3C, 0x9A, 0x4A) : QColor(0x9A, 0x9A, 0x9A);
  const QColor top = open ? QColor(0x7C, 0xCF, 0x86) : QColor(0xC8, 0xC8, 0xC8);
  const double w = size * 0.7;
  const double x = (size - w) / 2;
  const double e = size * 0.18;  // height of the ellipses
  const double y0 = size * 0.1;
  const double y1 = size * 0.82;
  QPainterPath cylinder;
  cylinder.moveTo(x, y0 + e / 2);
  cylinder.lineTo(x, y1);
  cylinder.arcTo(QRectF(x, y1 - e / 2, w, e), 180, 180);
  cylinder.lineTo(x + w, y0 + e / 2);
  cylinder.closeSubpath();
  p.setPen(QPen(body.darker(150), size / 32.0));
  p.setBrush(body);
  p.drawPath(cylinder);
  p.setBrush(Qt::NoBrush);
  for (double f : {0.36, 0.6}) {
    double y = y0 + (y1 - y0) * f;
    QPainterPath band;
    band.arcMoveTo(QRectF(x, y - e / 2, w, e), 180);
    band.arcTo(QRectF(x, y - e / 2, w, e), 180, 180);
    p.drawPath(band);
  }
  p.setBrush(top);
  p.drawEllipse(QRectF(x, y0, w, e));
  if (!open) {
    // A padlock over the closed database.
    const double s = size * 0.36;
    QRectF lock(size - s - 1, size - s * 0.8 - 1, s, s * 0.7);
    p.setPen(QPen(QColor(0x55, 0x45, 0x10), size / 24.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(lock.x() + s * 0.18, lock.y() - s * 0.4, s * 0.64, s * 0.7), 0, 180 * 16);
    p.setBrush(QColor(0xE8, 0xB9, 0x2E));
    p.drawRoundedRect(lock, s * 0.1, s * 0.1);
  }
  return pixmap;
}

}  // namespace tracklore
