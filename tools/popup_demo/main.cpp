// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the popup at the bottom screen edge with three lines and a speech request, and, when a
// file name is given, saves a picture of the whole screen there and quits.
#include "base/clock.h"
#include "base/event_log.h"
#include "display/foreground_qt.h"
#include "display/popup_model.h"
#include "display/popup_window.h"
#include "display/screen_qt.h"
#include "display/text_metrics_qt.h"
#include "refdata/replacements.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  using namespace meldlux;
  SystemClock clock;
  EventLog log;
  Options options;
  LinkState link;
  ReplacementTable replacements;
  Indicators indicators(log);
  QtScreen screen;
  QtTextMetrics metrics;
  QtForeground foreground;
  PopupModel popup(options, clock, link, replacements, indicators, log,
                   PopupPorts{screen, metrics, foreground});
  PopupWindow window(popup);

  options.setText(Text::txtMsgLines, QStringLiteral("3"));
  options.setText(Text::txtMsgTime, QStringLiteral("0"));
  options.OptPosition_Click(1);
  const struct {
    const char* text;
    Colour colour;
  } lines[] = {{"Florian Musterstadt 1/46-1  Status 3: Einsatz übernommen", 65535},
               {"ZVEI 21304  FF Musterstadt Vollalarm", 255},
               {"POCSAG 1234567 D  Brand Wohnhaus, Hauptstraße 5", 16776960}};
  for (const auto& line : lines) {
    QString text = QString::fromUtf8(line.text);
    popup.ShowPopup();
    popup.AddMessage(clock.now(), text, line.colour);
    popup.MarkNewestLine();
    popup.RefreshLines();
    popup.LayoutPopup();
  }
  popup.CollapsePopup(); // the last layout grew the strip: put it back onto the edge
  indicators.setCaption(Indicator::Sprechwunsch, QStringLiteral("Sprechwunsch: 1/83-1"));
  indicators.setBold(Indicator::Sprechwunsch, true);
  popup.LayoutPopup();

  if (argc > 1) {
    const QString file = QString::fromLocal8Bit(argv[1]);
    QTimer::singleShot(1000, [&window, file] {
      const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
      const bool saved = shot.save(file, "PNG");
      std::printf("%s %dx%d, popup at %d,%d %dx%d px\n", saved ? "saved" : "not saved",
                  shot.width(), shot.height(), window.x(), window.y(), window.width(),
                  window.height());
      QCoreApplication::exit(saved ? 0 : 1);
    });
  }
  return app.exec();
}
