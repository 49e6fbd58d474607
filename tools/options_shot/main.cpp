// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the main window with the design settings and saves a picture of it to the file given
// (default options.png), for looking at the layout without starting the whole program.
#include "app/application.h"
#include "app/main_window.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("options.png");
  meldlux::Application app(std::make_unique<meldlux::SystemClock>(),
                           std::make_unique<meldlux::EventLog>());
  meldlux::MainWindow window(app);
  window.show();
  QTimer::singleShot(500, [&] {
    const QPixmap shot = window.grab();
    const bool saved = shot.save(file, "PNG");
    std::printf("%s %dx%d px\n", saved ? "saved" : "not saved", shot.width(), shot.height());
    QCoreApplication::exit(saved ? 0 : 1);
  });
  return qapp.exec();
}
