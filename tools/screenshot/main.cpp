// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-screenshot FILE.png [X Y W H]: saves a picture of the screen (or of the given part of
// it) on the display named by DISPLAY, with whatever other programs show there.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 6) {
    std::fprintf(stderr, "usage: meldlux-screenshot FILE.png [X Y W H]\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fprintf(stderr, "no screen\n");
    return 1;
  }
  int area[4] = {0, 0, -1, -1};
  for (int i = 0; i < 4 && argc == 6; ++i)
    area[i] = QByteArray(argv[2 + i]).toInt();
  const QPixmap shot = screen->grabWindow(0, area[0], area[1], area[2], area[3]);
  if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG", 0)) {
    std::fprintf(stderr, "cannot save %s\n", argv[1]);
    return 1;
  }
  std::printf("%s %dx%d px\n", argv[1], shot.width(), shot.height());
  return 0;
}
