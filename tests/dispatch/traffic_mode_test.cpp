// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch_fixture.h"

namespace meldlux::testing {
namespace {

class TrafficModeTest : public DispatchTest {
protected:
  TrafficModeTest() {
    state.LastVehicleTelegram = clock.now(); // as start-up leaves it
    initialCaption = indicators.lblSpricht().caption;
  }

  void controls(int count, const QString& status = QStringLiteral("3")) {
    for (int i = 0; i < count; ++i)
      receiveLine(tabFms(status, "1"));
  }
  void vehicleTelegram() { receiveLine(vehicle("2")); }
  bool star() const { return state.TrafficMode == "Sternverkehr"; }
  QString spricht() const { return indicators.lblSpricht().caption; }

  QString initialCaption;
};

TEST_F(TrafficModeTest, FourStatusThreeOrdersSwitchAtTheFourthNoticesShowOnce) {
  vehicleTelegram(); // no Kreisverkehr notice before a Sternverkehr one
  EXPECT_EQ(spricht(), initialCaption);
  clock.advance(181);
  controls(3);
  EXPECT_FALSE(star());
  EXPECT_EQ(spricht(), initialCaption);
  indicators.setCaption(Indicator::Sprechwunsch, QStringLiteral("Sprechwunsch: FW 1"));

  controls(1);
  EXPECT_EQ(state.StarCount, 4);
  EXPECT_TRUE(star());
  EXPECT_EQ(spricht(), "12:03:01 Sternverkehr");
  EXPECT_EQ(indicators.lblSpricht().foreColor, 255);
  EXPECT_FALSE(indicators.lblSpricht().bold);
  EXPECT_EQ(indicators.lblSprechwunsch().caption, "");

  clock.advance(30);
  controls(1);
  EXPECT_EQ(spricht(), "12:03:01 Sternverkehr"); // shown once until the label changes
  // A speaks indication written over the notice ends the shown state.
  indicators.setCaption(Indicator::Spricht, QStringLiteral(" Spricht: FW 1"));
  controls(1);
  EXPECT_EQ(spricht(), "12:03:31 Sternverkehr");

  clock.advance(30);
  vehicleTelegram();
  EXPECT_EQ(state.TrafficMode, "Kreisverkehr");
  EXPECT_EQ(state.StarCount, 0);
  EXPECT_EQ(state.LastVehicleTelegram, clock.now());
  EXPECT_EQ(spricht(), "12:04:01 Kreisverkehr");
  EXPECT_EQ(indicators.lblSpricht().foreColor, 36864);
  EXPECT_FALSE(indicators.lblSpricht().bold);
  clock.advance(5);
  vehicleTelegram();
  EXPECT_EQ(spricht(), "12:04:01 Kreisverkehr"); // shown once as well
}

TEST_F(TrafficModeTest, TheNoticeShowsTheTimeItAppearsAtWithinALongBlock) {
  clock.advance(181);
  handlers.onCall = [this] { clock.advance(2); }; // handling takes time
  receive(QStringList{control("3"), control("3"), control("3"), control("3")});
  EXPECT_TRUE(star());
  EXPECT_EQ(spricht(), "12:03:07 Sternverkehr");
}

TEST_F(TrafficModeTest, EachLineOfALongBlockIsJudgedAtTheTimeItIsHandled) {
  clock.advance(179);
  handlers.onCall = [this] { clock.advance(1); }; // handling takes time
  // The fourth order is handled at 182 s, past the mark the block arrived before.
  receive(QStringList{control("3"), control("3"), control("3"), control("3")});
  EXPECT_TRUE(star());
  const OleDate start = clock.now();
  receive(QStringList{control("3"), vehicle("2")});
  EXPECT_DOUBLE_EQ(state.LastVehicleTelegram, start + 1 / kSecondsPerDay);
}

TEST_F(TrafficModeTest, StatusNineAndFourteenUpCountTwiceTextTelegramsNever) {
  clock.advance(1000);
  for (const auto& [status, count] :
       {std::pair{"10", 0}, {"9", 2}, {"14", 2}, {"15", 2}, {"18", 2}, {"13", 1}, {"8", 1}}) {
    SCOPED_TRACE(status);
    state.StarCount = 0;
    controls(1, status);
    EXPECT_EQ(state.StarCount, count);
  }
  EXPECT_FALSE(star());
  EXPECT_EQ(spricht(), initialCaption);
  state.StarCount = 0;
  controls(2, "9");
  EXPECT_TRUE(star());
}

TEST_F(TrafficModeTest, NoSwitchWithinThreeMinutesOfAVehicle) {
  clock.advance(179);
  controls(6);
  EXPECT_EQ(state.StarCount, 6);
  EXPECT_FALSE(star());
  clock.advance(2);
  controls(1);
  EXPECT_TRUE(star());
}

TEST_F(TrafficModeTest, NothingIsShownWhenMessagesAreOff) {
  options.setChecked(Check::chkMsgAktiv, false);
  clock.advance(181);
  controls(4);
  EXPECT_TRUE(star());
  EXPECT_EQ(spricht(), initialCaption);
  vehicleTelegram();
  EXPECT_EQ(state.TrafficMode, "Kreisverkehr");
  EXPECT_EQ(spricht(), initialCaption);
}

TEST_F(TrafficModeTest, BothFormatsDriveTheTracker) {
  clock.advance(181);
  receive(QStringList{control("3"), marker("64123456", "9", "x"), tabFms("3", "1")});
  EXPECT_TRUE(star());
  receiveLine(tabFms("2", "0"));
  EXPECT_EQ(state.TrafficMode, "Kreisverkehr");
}

} // namespace
} // namespace meldlux::testing
