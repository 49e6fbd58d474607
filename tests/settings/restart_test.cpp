// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "app/main_window.h"

#include "support/config_home.h"

#include <gtest/gtest.h>

using namespace meldlux;

namespace {

std::unique_ptr<Application> startProgram() {
  auto app =
      std::make_unique<Application>(std::make_unique<ManualClock>(), std::make_unique<EventLog>());
  EXPECT_TRUE(app->loadSettingsAtStart());
  return app;
}

const QString kOwn = QString::fromLatin1(SettingsStore::kApplication);

} // namespace

TEST(Restart, SecondStartKeepsWhatTheFirstRunSavedOnClose) {
  ConfigHome home;
  {
    auto app = startProgram();
    MainWindow window(*app);
    window.show();
    app->options().setText(Text::txtPW, QStringLiteral("geheim; mit Blanks "));
    app->options().setChecked(Check::chkAuto, true);
    app->options().txtPW_DblClick();
    app->popupAppearance().applyBackColor(16777215);
    window.close(); // the user closes the main window: the settings are saved first
    window.close(); // a second close saves nothing more
  }
  auto app = startProgram();
  EXPECT_EQ(app->options().text(Text::txtPW), u"geheim; mit Blanks ");
  EXPECT_TRUE(app->options().checked(Check::chkAuto));
  EXPECT_EQ(app->options().passwordChar(), u"*");
  EXPECT_EQ(app->popupAppearance().backColor(), 16777215);
  EXPECT_EQ(app->options().sampleForeColor(), 0);
  EXPECT_FALSE(app->mainWindowStartsHidden(0)); // it was visible when it was closed
}

TEST(Restart, WindowHiddenInTheTrayAtCloseStartsHidden) {
  ConfigHome home;
  {
    auto app = startProgram();
    MainWindow window(*app); // never shown: living in the tray
    window.close();
  }
  EXPECT_TRUE(home.lines(kOwn).contains(QStringLiteral("FormVisible=0")));
  EXPECT_TRUE(startProgram()->mainWindowStartsHidden(0));
}

TEST(Restart, AProgramEndedWithoutClosingTheWindowSavesNothing) {
  ConfigHome home;
  startProgram()->options().setText(Text::txtSrv, QStringLiteral("anders"));
  EXPECT_FALSE(home.exists(kOwn));
}
