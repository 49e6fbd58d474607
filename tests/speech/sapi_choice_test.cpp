// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/sapi_choice.h"

#include <gtest/gtest.h>

using namespace meldlux;

TEST(SapiChoice, PicksAGermanVoiceForALanguageAndAnyVoiceByPartOfItsName) {
  const QList<SapiChoice::Installed> installed = {
      {QStringLiteral("Microsoft Zira Desktop - English"), {0x409}},
      {QStringLiteral("Microsoft Hedda Desktop - German"), {0x407}},
      {QStringLiteral("Microsoft Karsten - German (Switzerland)"),
       SapiChoice::languages(QStringLiteral("zz;807"))}};
  const auto pick = [&](const QString& wanted, const QList<SapiChoice::Installed>& list) {
    QString fault;
    const int i = SapiChoice::voice(list, wanted, fault);
    EXPECT_EQ(i < 0, !fault.isEmpty()) << wanted.toStdString();
    return std::pair(i, fault);
  };
  for (const char* german : {"de", "", " de ", "DE-AT", "de+m3"})
    EXPECT_EQ(pick(QString::fromLatin1(german), installed).first, 1) << german;
  EXPECT_EQ(pick(QStringLiteral("karsten"), installed).first, 2);
  EXPECT_EQ(pick(QStringLiteral("Desktop"), installed).first, 0) << "a name, not the language";
  EXPECT_EQ(pick(QStringLiteral("Stefan"), installed).second, u"Stimme \"Stefan\" nicht gefunden");
  EXPECT_EQ(pick(QStringLiteral("de"), installed.mid(0, 1)).second,
            u"keine deutsche Stimme installiert");
}

TEST(SapiChoice, SpeedAndVolumeStayInSapisRanges) {
  EXPECT_EQ(SapiChoice::rate(150), 0);
  EXPECT_EQ(SapiChoice::rate(450), 10); // three times as fast
  EXPECT_EQ(SapiChoice::rate(50), -10); // a third
  EXPECT_EQ(SapiChoice::rate(80), -6);
  EXPECT_EQ(SapiChoice::rate(300), 6);
  EXPECT_EQ(SapiChoice::rate(100000), 10); // out of range: clamped
  EXPECT_EQ(SapiChoice::volume(200), 100);
  EXPECT_EQ(SapiChoice::volume(-5), 0);
}
