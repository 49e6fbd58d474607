#include "dispatch_fixture.h"

#include "base/formats.h"

namespace meldlux::testing {
namespace {

class TrafficModeTest : public DispatchTest {
protected:
  TrafficModeTest() {
    state.LastVehicleTelegram = clock.now(); // as start-up leaves it
    initialCaption = indicators.lblSpricht().caption;
  }

  void control(const QString& status) { receiveLine(tabFms(status, "1")); }
  void vehicle() { receiveLine(marker("64123456", "2", "false")); }

  QString initialCaption;
};

TEST_F(TrafficModeTest, FourStatusThreeOrdersSwitchAtTheFourth) {
  clock.advance(181);
  for (int i = 0; i < 3; ++i)
    control("3");
  EXPECT_NE(state.TrafficMode, "Sternverkehr");
  EXPECT_EQ(indicators.lblSpricht().caption, initialCaption);
  indicators.setCaption(Indicator::Sprechwunsch, QStringLiteral("Sprechwunsch: FW 1"));

  control("3");
  EXPECT_EQ(state.StarCount, 4);
  EXPECT_EQ(state.TrafficMode, "Sternverkehr");
  EXPECT_EQ(indicators.lblSpricht().caption, "12:03:01 Sternverkehr");
  EXPECT_EQ(indicators.lblSpricht().foreColor, 255);
  EXPECT_FALSE(indicators.lblSpricht().bold);
  EXPECT_EQ(indicators.lblSprechwunsch().caption, "");
}

TEST_F(TrafficModeTest, StatusNineCountsTwice) {
  clock.advance(200);
  control("9");
  EXPECT_EQ(state.StarCount, 2);
  EXPECT_NE(state.TrafficMode, "Sternverkehr");
  control("9");
  EXPECT_EQ(state.TrafficMode, "Sternverkehr");
}

TEST_F(TrafficModeTest, StatusFourteenAndAboveCountTwice) {
  clock.advance(200);
  control("14");
  control("15");
  EXPECT_EQ(state.StarCount, 4);
  EXPECT_EQ(state.TrafficMode, "Sternverkehr");
}

TEST_F(TrafficModeTest, TextTelegramsNeverSwitch) {
  clock.advance(1000);
  for (int i = 0; i < 10; ++i)
    control("10");
  EXPECT_EQ(state.StarCount, 0);
  EXPECT_NE(state.TrafficMode, "Sternverkehr");
  EXPECT_EQ(indicators.lblSpricht().caption, initialCaption);
}

TEST_F(TrafficModeTest, NoSwitchWithinThreeMinutesOfAVehicle) {
  clock.advance(179);
  for (int i = 0; i < 6; ++i)
    control("3");
  EXPECT_EQ(state.StarCount, 6);
  EXPECT_NE(state.TrafficMode, "Sternverkehr");
  clock.advance(2);
  control("3");
  EXPECT_EQ(state.TrafficMode, "Sternverkehr");
}

TEST_F(TrafficModeTest, NextVehicleTelegramShowsKreisverkehrOnce) {
  clock.advance(181);
  for (int i = 0; i < 4; ++i)
    control("3");
  clock.advance(60);
  vehicle();
  EXPECT_EQ(state.TrafficMode, "Kreisverkehr");
  EXPECT_EQ(state.StarCount, 0);
  EXPECT_EQ(state.LastVehicleTelegram, clock.now());
  EXPECT_EQ(indicators.lblSpricht().caption, "12:04:01 Kreisverkehr");
  EXPECT_EQ(indicators.lblSpricht().foreColor, 36864);
  EXPECT_FALSE(indicators.lblSpricht().bold);

  clock.advance(5);
  vehicle();
  EXPECT_EQ(indicators.lblSpricht().caption, "12:04:01 Kreisverkehr");
}

TEST_F(TrafficModeTest, SternverkehrIsShownOnceUntilTheLabelChanges) {
  clock.advance(181);
  for (int i = 0; i < 4; ++i)
    control("3");
  clock.advance(30);
  control("3");
  EXPECT_EQ(indicators.lblSpricht().caption, "12:03:01 Sternverkehr");
  // A speaks indication written over the notice ends the shown state.
  indicators.setCaption(Indicator::Spricht, QStringLiteral(" Spricht: FW 1"));
  control("3");
  EXPECT_EQ(indicators.lblSpricht().caption, "12:03:31 Sternverkehr");
}

TEST_F(TrafficModeTest, NothingIsShownWhenMessagesAreOff) {
  options.setChecked(Check::chkMsgAktiv, false);
  clock.advance(181);
  for (int i = 0; i < 4; ++i)
    control("3");
  EXPECT_EQ(state.TrafficMode, "Sternverkehr");
  EXPECT_EQ(indicators.lblSpricht().caption, initialCaption);
  vehicle();
  EXPECT_EQ(state.TrafficMode, "Kreisverkehr");
  EXPECT_EQ(indicators.lblSpricht().caption, initialCaption);
}

TEST_F(TrafficModeTest, KreisverkehrNoticeOnlyAfterSternverkehrNotice) {
  vehicle();
  EXPECT_EQ(indicators.lblSpricht().caption, initialCaption);
}

TEST_F(TrafficModeTest, BothFormatsDriveTheTracker) {
  clock.advance(181);
  receiveLine(marker("64123456", "3", "true"));
  receiveLine(marker("64123456", "9", "x"));
  control("3");
  EXPECT_EQ(state.TrafficMode, "Sternverkehr");
  receiveLine(tabFms("2", "0"));
  EXPECT_EQ(state.TrafficMode, "Kreisverkehr");
}

} // namespace
} // namespace meldlux::testing
