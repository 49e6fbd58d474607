// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-screenshot FILE.png [X Y W H [SCALE]]: saves a picture of the screen (or of the given
// part of it, SCALE times as large: small text reads better so) on the display named by DISPLAY,
// with whatever other programs show there.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 6 && argc != 7) {
    std::fprintf(stderr, "usage: meldlux-screenshot FILE.png [X Y W H [SCALE]]\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fprintf(stderr, "no screen\n");
    return 1;
  }
  int area[4] = {0, 0, -1, -1};
  for (int i = 0; i < 4 && argc >= 6; ++i)
    area[i] = QByteArray(argv[2 + i]).toInt();
  const int scale = argc == 7 ? std::clamp(QByteArray(argv[6]).toInt(), 1, 8) : 1;
  QPixmap shot = screen->grabWindow(0, area[0], area[1], area[2], area[3]);
  if (scale > 1 && !shot.isNull())
    shot = shot.scaled(shot.size() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG", 0)) {
    std::fprintf(stderr, "cannot save %s\n", argv[1]);
    return 1;
  }
  std::printf("%s %dx%d px\n", argv[1], shot.width(), shot.height());
  return 0;
}
