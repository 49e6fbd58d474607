// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/clock.h"
#include "base/event_log.h"
#include "display/cleanup_tick.h"
#include "display/foreground.h"
#include "display/popup_model.h"
#include "display/popup_option_rules.h"
#include "display/screen.h"
#include "display/text_metrics.h"
#include "refdata/replacements.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"
#include "support/event_log_file.h"

#include <gtest/gtest.h>

namespace meldlux::testing {

// Counts what ShowPopup asks of the foreground window.
class CountingForeground final : public Foreground {
public:
  void remember() override { ++remembered; }
  void restore() override { ++restored; }
  int remembered = 0;
  int restored = 0;
};

// A popup with every collaborator it has in the program, on a screen of the given width, with
// its texts measured by Metrics and the clock standing still.
template <typename Metrics, typename Base = ::testing::Test> class PopupRig : public Base {
protected:
  PopupRig(int screenWidth, Metrics textMetrics)
      : screen{screenWidth, 14400}, metrics{std::move(textMetrics)} {}

  // The handlers' calling order for a line that is to be shown.
  void message(const QString& text, Colour colour = 65280) {
    QString line = text;
    popup.ShowPopup();
    popup.AddMessage(clock.now(), line, colour);
    popup.MarkNewestLine();
    popup.RefreshLines();
    popup.LayoutPopup();
  }
  void refresh() {
    popup.RefreshLines();
    popup.LayoutPopup();
  }

  EventLogFile logFile;
  ManualClock clock;
  EventLog log{logFile.path()};
  Options options;
  LinkState link;
  ReplacementTable replacements;
  Indicators indicators{log};
  FixedScreen screen;
  Metrics metrics;
  CountingForeground foreground;
  PopupModel popup{
      options, clock, link, replacements, indicators, log, PopupPorts{screen, metrics, foreground}};
};

// The popup on a 1280 x 960 pixel screen (19200 x 14400 twips), with design-font rows of 240
// twips.
class PopupFixture : public PopupRig<FixedTextMetrics> {
protected:
  static constexpr int kScreenWidth = 19200;
  static constexpr int kScreenHeight = 14400;
  static constexpr int kRow = 240;

  explicit PopupFixture(int charWidth = 0) : PopupRig(kScreenWidth, FixedTextMetrics{charWidth}) {}

  // LastLine once the clock has moved on and the popup has refreshed.
  int lastLineAfter(double seconds) {
    advance(seconds);
    refresh();
    return popup.LastLine();
  }
  void messages(int count, const QString& prefix = QStringLiteral("M")) {
    for (int i = 0; i < count; ++i)
      message(prefix + QString::number(i));
  }
  // Shown or hidden, height in rows, LastLine and PopupExpanded, for one comparison.
  QString view() const {
    return QStringLiteral("%1 rows=%2 last=%3 expanded=%4")
        .arg(popup.visible() ? "shown" : "hidden")
        .arg(double(popup.height()) / kRow)
        .arg(popup.LastLine())
        .arg(popup.PopupExpanded());
  }
  void advance(double seconds) { clock.advance(seconds); }
  void tick(double seconds) {
    advance(seconds);
    cleanup.TimerCleanup_Timer();
  }
  void rightPress() { popup.Form_MouseDown(Qt::RightButton, Qt::NoModifier); }
  void set(Text box, const char* text) { options.setText(box, QString::fromUtf8(text)); }

  CleanupTick cleanup{popup, link, clock};
  PopupOptionRules rules{options, popup, cleanup};
};

} // namespace meldlux::testing
