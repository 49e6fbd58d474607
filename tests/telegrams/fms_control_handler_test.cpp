// SPDX-License-Identifier: GPL-3.0-or-later
#include "handler_rig.h"
#include "telegrams/fms_control_handler.h"

using namespace meldlux;

namespace {

// "&&9" + second half + first half + 8 unused digits.
const QString kCoded = u"&&90000ABCD12345678FFFFFFFF"_qs;
const QString kCodedKey = u"&TRN12345678E0000ABCD"_qs;

class FmsControlTest : public HandlerRig {
protected:
  void loadPlaces() {
    places.setRow(0, u"&TRN00000000E00000000"_qs, u"Irgendwo"_qs);
    places.setRow(1, kCodedKey, u"Musterdorf, Hauptstr."_qs);
    places.PlaceCount = 2;
  }
  void receiveText(const QString& text, const QString& identifier = u"64123456"_qs) {
    receive(fms(identifier, 10, false, {}, {}, text));
  }
};

} // namespace

TEST_F(FmsControlTest, CommandStatusInWhiteWithTheControlCentreWording) {
  receive(fms(u"64123456"_qs, 3, false)); // "103" is not in the default list
  EXPECT_TRUE(lines().isEmpty());
  // Status 4 is red from a vehicle, but a command is white all the same.
  options.setText(Text::txtMsgOnly, u"103;104"_qs);
  receive(QStringList{fms(u"64123456"_qs, 4, false), fms(u"64123456"_qs, 3, false)});
  EXPECT_EQ(lines(), (QStringList{kName1 + u"  3 C - Für Einsatz Melden "_qs,
                                  kName1 + u"  4 F - Über Telefon Melden "_qs}));
  EXPECT_EQ(popup.messages()[1].colour, kWhite);
  EXPECT_EQ(newestColour(), kWhite);
  EXPECT_EQ(shownLine(),
            kName1 + u"  3 C - Für Einsatz Melden"_qs); // the label drops the end blank
  EXPECT_TRUE(player.played.isEmpty());
  EXPECT_EQ(tray.TrayTipText(), QString()); // never a tray summary from this direction
  EXPECT_TRUE(popup.lblText(0).bold);
}

TEST_F(FmsControlTest, RepeatedCommandIsShownOnceButItsSprechaufforderungSoundsEachTime) {
  receive(QStringList(3, fms(u"63123456"_qs, 6, false)));
  EXPECT_EQ(lines(), QStringList{kName2 + u"  6 J - Sprechaufforderung "_qs});
  EXPECT_EQ(logFile.lines(u"sound"_qs), QStringList(3, u"sound\tsa.wav"_qs));
}

TEST_F(FmsControlTest, SprechaufforderungSoundsWithoutPopupButNotWhenFilteredOut) {
  options.setChecked(Check::chkMsgAktiv, false);
  receive(QStringList{fms(u"63123456"_qs, 6, false), fms(u"64123456"_qs, 6, false)});
  EXPECT_EQ(player.played, QStringList{u"sa.wav"_qs});
  options.setText(Text::txtMsgOnly, u"110"_qs);
  receive(fms(u"63123456"_qs, 6, false));
  EXPECT_EQ(player.played.size(), 1);
  EXPECT_TRUE(lines().isEmpty());
}

TEST_F(FmsControlTest, CodedPlaceIsShownByName) {
  loadPlaces();
  receiveText(kCoded);
  EXPECT_EQ(lines(), QStringList{kName1 + u" 10 ==> Musterdorf, Hauptstr. <=="_qs});
  EXPECT_EQ(player.played, QStringList{u"text.wav"_qs});
  EXPECT_EQ(newestColour(), rigColour(10));
}

// Shown as received, with every ampersand doubled.
TEST_F(FmsControlTest, CodedPlaceOfTheWrongShapeOrNotFoundIsShownAsReceived) {
  loadPlaces();
  const QStringList texts = {
      u"&&90000ABCD12345678FFFFFFFG"_qs,  // not hexadecimal
      u"&&90000ABCD12345678FFFFFFF"_qs,   // 26 characters
      u"&&90000ABCD12345678FFFFFFFF0"_qs, // 28 characters
      u"&&90000ABCE12345678FFFFFFFF"_qs,  // well formed, not in the list
      u"&&80000ABCD12345678FFFFFFFF"_qs,  // the third character must be the "9"
      u"A&B"_qs,
  };
  QStringList expected;
  for (const QString& text : texts) {
    receiveText(text);
    expected.prepend(kName1 + u" 10 "_qs + QString(text).replace(u"&"_qs, u"&&"_qs));
  }
  EXPECT_EQ(lines(), expected);
  EXPECT_EQ(FmsControlHandler::codedPlaceKey(u"&&A"_qs + kCoded.mid(3)), QString());

  // An empty place name counts as not found; with fewer than two places nothing is decoded.
  places.setRow(1, kCodedKey, QString());
  receiveText(kCoded, u"63123456"_qs);
  EXPECT_EQ(lines().front(), kName2 + u" 10 &&&&90000ABCD12345678FFFFFFFF"_qs);
  places.setRow(1, kCodedKey, u"Musterdorf"_qs);
  places.PlaceCount = 1;
  receiveText(kCoded);
  EXPECT_EQ(lines().front(), kName1 + u" 10 &&&&90000ABCD12345678FFFFFFFF"_qs);
}

TEST_F(FmsControlTest, EmptyTextTelegramShowsTheStatusTextOfTen) {
  tables.text(10, 6, 1) = u"Textmeldung"_qs;
  receive(fms(u"64123456"_qs, 10, false, {}, {}, QString(3, QChar(0)))); // NULs only: empty
  EXPECT_EQ(lines(), QStringList{kName1 + u" 10 Textmeldung"_qs});
  // Built-in texts of status 10 are empty, so another organisation shows nothing after " 10 ".
  addVehicle(5, u"94123456"_qs, u"Rotkreuz"_qs);
  receive(fms(u"94123456"_qs, 10, false));
  EXPECT_EQ(lines().front(), pad30(u"Rotkreuz"_qs) + u" 10 "_qs);
}

TEST_F(FmsControlTest, NegativeStatusThatPassesTheFilterEndsOnlyItsOwnTelegram) {
  options.setText(Text::txtMsgOnly, u"1-01;103"_qs);
  receive(QStringList{fms(u"64123456"_qs, -1, false), fms(u"64123456"_qs, 3, false)});
  EXPECT_EQ(lines(), QStringList{kName1 + u"  3 C - Für Einsatz Melden "_qs});
  EXPECT_TRUE(status.caption().contains(u"FMS: 2,"_qs)) << status.caption().toStdString();
}

TEST_F(FmsControlTest, TextTelegramRepeatsAndSoundWithoutPopup) {
  receiveText(u"Bitte melden"_qs);
  receiveText(u"Bitte melden"_qs);
  EXPECT_EQ(counts(), "lines=1 sounds=1");
  clock.advance(61);
  options.setChecked(Check::chkMsgAktiv, false);
  receiveText(u"Bitte melden"_qs);
  EXPECT_EQ(player.played, QStringList(2, u"text.wav"_qs));
  EXPECT_EQ(lines().size(), 1);
  // A text with an ampersand is stored doubled, so the undoubled repeat test never finds it.
  options.setChecked(Check::chkMsgAktiv, true);
  receiveText(u"A&B"_qs);
  receiveText(u"A&B"_qs);
  EXPECT_EQ(lines().size(), 3);
}

TEST_F(FmsControlTest, CommandWithTextGetsBracketsAfterTwoSpaces) {
  // The dispatchers pass texts with text telegrams only, so the handler is called directly.
  options.setText(Text::txtMsgOnly, u"102"_qs);
  QString identifier = u"64123456"_qs;
  std::int16_t statusNumber = 2;
  QString text = u"  Wache  "_qs;
  OleDate time = 0;
  handlers.HandleFmsControl(identifier, statusNumber, text, time);
  EXPECT_EQ(lines(), QStringList{kName1 + u"  2 E - Einrücken  [Wache]"_qs});
  EXPECT_EQ(text, u" [Wache]"_qs);
  EXPECT_TRUE(status.caption().endsWith(u"Empfangen: 0 (FMS: 1, FME: 0, DME: 0)"_qs));
}

TEST_F(FmsControlTest, UnknownVehiclesAndBadIdentifiers) {
  options.setText(Text::txtMsgOnly, u"103;106"_qs);
  receive(fms(u"A1234567"_qs, 3, false));
  EXPECT_EQ(lines().front(),
            pad30(u"JUH 23 45/67 (A1234567)"_qs) + u"  3 C - Für Einsatz Melden "_qs);
  // Unknown vehicles are dropped before any sound, even one that holds the watched "6312".
  options.setChecked(Check::chkUnbekFMS, false);
  receive(QStringList{fms(u"A6312345"_qs, 6, false), fms(u"X1234567"_qs, 3, false),
                      fms(u"64123456"_qs, 3, false)});
  EXPECT_EQ(counts(), "lines=2 sounds=0");
  EXPECT_TRUE(status.caption().contains(u"FMS: 4,"_qs));
}
