// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the hall monitor for the guide: run in a folder with the sample reference data
// ("meldlux-refdata sample"), it plays a few telegrams of the sample scenario into the program's
// object graph, saves the monitor idle (FOLDER/alarmmonitor-ruhe.png), hands it an alarm and
// saves it again (FOLDER/alarmmonitor-alarm.png).
//   meldlux-monitor-shot FOLDER [WIDTHxHEIGHT]
#include "app/application.h"
#include "monitor/alarm_monitor_window.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

namespace {

bool save(QWidget& window, const QString& file) {
  const QPixmap shot = window.grab();
  const bool saved = shot.save(file, "PNG");
  std::printf("%s %s %dx%d px\n", saved ? "saved" : "not saved", qPrintable(file), shot.width(),
              shot.height());
  return saved;
}

} // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  if (argc < 2) {
    std::fputs("Aufruf: meldlux-monitor-shot ORDNER [BREITExHÖHE]\n", stderr);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  const QStringList size = QString::fromLatin1(argc > 2 ? argv[2] : "1280x720").split(u'x');
  meldlux::Application app(std::make_unique<meldlux::SystemClock>(),
                           std::make_unique<meldlux::EventLog>());
  app.Form_Load({});
  const meldlux::OleDate now = app.clock().now();
  app.linkState().ConnectedSince = now - 60 / meldlux::kSecondsPerDay; // past the quiet start
  app.receiver().Winsock2_DataArrival(
      QStringList{
          QStringLiteral("ZVEI\t21004\tAlarm"),
          QStringLiteral("FMSTlg\t64124411\t6\t1\t24\t4411\t2\t1\t0\t0\t0\t0\t0\t"),
          QStringLiteral("FMSTlg\t64121011\t6\t1\t21\t1011\t1\t1\t0\t0\t0\t0\t0\t"),
          QStringLiteral("FMSTlg\t94128371\t9\t1\t28\t8371\t4\t1\t0\t0\t1\t0\t3\t"),
          QStringLiteral("FMSTlg\t64124412\t6\t1\t24\t4412\t6\t1\t0\t0\t0\t0\t0\t"),
          QStringLiteral("POC\t1234567\tA\tB3 Wohnungsbrand Hauptstraße 12\t1200"),
          QStringLiteral("ZVEI\t21001\tAlarm"),
      }
          .join(QStringLiteral("\r\n")) +
      QStringLiteral("\r\n"));

  meldlux::AlarmMonitorWindow window(app.alarmMonitor(), [](const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
  });
  window.resize(size.value(0).toInt(), size.value(1).toInt());
  window.show();
  int result = 0;
  QTimer::singleShot(700, [&] {
    if (!save(window, folder.filePath(QStringLiteral("alarmmonitor-ruhe.png"))))
      result = 1;
    app.monitorAlarm({app.clock().now() - 95 / meldlux::kSecondsPerDay, QStringLiteral("21001"),
                      QStringLiteral("FF Musterstadt Vollalarm"),
                      QStringLiteral("B3 Wohnungsbrand Hauptstraße 12, Menschenleben in Gefahr"),
                      false});
    QTimer::singleShot(700, [&] {
      if (!save(window, folder.filePath(QStringLiteral("alarmmonitor-alarm.png"))))
        result = 1;
      QCoreApplication::exit(result);
    });
  });
  return qapp.exec();
}
