// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-render-icon FILE.svg SIZE OUT.png: renders the SVG into a square PNG of SIZE pixels.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: meldlux-render-icon FILE.svg SIZE OUT.png\n");
    return 2;
  }
  // Paints into an image only (the picture has no text), so no application object and no display.
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  bool numeric = false;
  const int size = QByteArray(argv[2]).toInt(&numeric);
  if (!svg.isValid() || !numeric || size < 1 || size > 1024) {
    std::fprintf(stderr, "cannot render %s at size %s\n", argv[1], argv[2]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  svg.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG", 0)) { // 0: smallest file
    std::fprintf(stderr, "cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
