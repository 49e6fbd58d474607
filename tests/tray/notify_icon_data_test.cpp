// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/notify_icon_data.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

std::uint32_t wordAt(const QByteArray& bytes, int offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

QByteArray tipBytes(const NotifyIconData& record) { return record.bytes().mid(24); }

TEST(NotifyIconData, RecordIsEightyEightBytesWithTheFixedFieldsLittleEndian) {
  NotifyIconData record;
  EXPECT_TRUE(record.tipText().isEmpty()); // a fresh record: empty tip
  EXPECT_EQ(tipBytes(record), QByteArray(1, '\0') + QByteArray(63, ' '));
  record.hIcon = 0x01020304;
  record.setTip(QStringLiteral("FMS Meldlux"));
  const QByteArray bytes = record.bytes();
  ASSERT_EQ(bytes.size(), 88);
  EXPECT_EQ(wordAt(bytes, 0), 88u);
  EXPECT_EQ(wordAt(bytes, 8), 1u);    // icon id
  EXPECT_EQ(wordAt(bytes, 12), 7u);   // message, icon and tip valid
  EXPECT_EQ(wordAt(bytes, 16), 512u); // callback message
  EXPECT_EQ(wordAt(bytes, 20), 0x01020304u);
  EXPECT_EQ(tipBytes(record), QByteArray("FMS Meldlux") + '\0' + QByteArray(52, ' '));
}

TEST(NotifyIconData, TipIsCutToSixtyThreeCharactersAndClosedWithNul) {
  NotifyIconData record;
  const QString longTip = QString(60, u'a') + QStringLiteral("bcdefghij");
  record.setTip(longTip);
  EXPECT_EQ(tipBytes(record), longTip.left(63).toLatin1() + '\0');
  EXPECT_EQ(record.tipText(), longTip.left(63));
  record.setTip(QString(63, u'x')); // exactly the limit: nothing cut, no padding left
  EXPECT_EQ(tipBytes(record), QByteArray(63, 'x') + '\0');
}

TEST(NotifyIconData, TipIsWindows1252AndShowsOnlyUpToItsNul) {
  NotifyIconData record;
  record.setTip(QStringLiteral("Übung €"));
  EXPECT_EQ(tipBytes(record).left(8), QByteArray("\xDC"
                                                 "bung \x80",
                                                 8));
  EXPECT_EQ(record.tipText(), QStringLiteral("Übung €"));
  record.setTip(QStringLiteral("Alarm\u2603")); // no such character in Windows-1252
  EXPECT_EQ(record.tipText(), QStringLiteral("Alarm?"));
  record.setTip(QStringLiteral("vorne") + QChar(u'\0') + QStringLiteral("hinten"));
  EXPECT_EQ(record.tipText(), QStringLiteral("vorne"));
}

} // namespace
} // namespace meldlux
