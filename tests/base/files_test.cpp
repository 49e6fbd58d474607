// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/event_log.h"
#include "base/file_lookup.h"
#include "base/text_line_reader.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace meldlux;

namespace {

void touch(const QTemporaryDir& dir, const QString& relative) {
  QDir(dir.path()).mkpath(QFileInfo(dir.filePath(relative)).path());
  QFile file(dir.filePath(relative));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

QStringList readAll(QByteArray bytes, LineEnds ends) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  TextLineReader reader(buffer, 1024, ends);
  QStringList lines;
  for (QString line; reader.next(line);)
    lines << line;
  return lines;
}

} // namespace

TEST(FindFileIgnoringCase, EveryComponentMatchesWithoutRegardToCaseExactCaseFirst) {
  QTemporaryDir temp;
  touch(temp, "Orte.txt");
  if (QFileInfo::exists(temp.filePath("ORTE.TXT")))
    GTEST_SKIP() << "this file system ignores letter case itself (Windows): every spelling names "
                    "the one file, and two names that differ only in case cannot both exist";
  touch(temp, "settings/FahrzeugMelder.wbr");
  touch(temp, "ton5.dat");
  touch(temp, "Ton5.dat");
  QDir(temp.path()).mkpath("POCSAG.DAT");
  const QDir dir(temp.path());
  const std::pair<QString, QString> found[] = {
      {"Settings\\Fahrzeugmelder.wbr", "settings/FahrzeugMelder.wbr"},
      {"SETTINGS/fahrzeugmelder.WBR", "settings/FahrzeugMelder.wbr"},
      {"Ton5.dat", "Ton5.dat"},
      {"ton5.dat", "ton5.dat"},
      {"TON5.DAT", "Ton5.dat"} /* sorted */};
  for (const auto& [asked, path] : found)
    EXPECT_EQ(findFileIgnoringCase(asked, dir), dir.filePath(path)) << asked.toStdString();
  // Folders and missing components are no file.
  for (const char* missing : {"POCSAG.DAT", "Settings\\BOSList.wbr", "Orte.txt\\x", "", "\\"})
    EXPECT_FALSE(findFileIgnoringCase(missing, dir)) << missing;
}

TEST(FindFileIgnoringCase, AbsoluteAndParentPathsAsSoundFilesMayBe) {
  QTemporaryDir temp;
  touch(temp, "Sounds/Alarm.WAV");
  touch(temp, "Work/x");
  const QDir work(temp.filePath("Work"));
  const QString real = QFileInfo(temp.filePath("Sounds/Alarm.WAV")).canonicalFilePath();
  for (const QString& asked :
       {temp.filePath("sounds/alarm.wav"), QString("..\\SOUNDS\\alarm.wav")}) {
    const auto found = findFileIgnoringCase(asked, work);
    ASSERT_TRUE(found) << asked.toStdString();
    EXPECT_TRUE(QFileInfo(*found).isFile());
    // Where the file system ignores case, the path may keep the asked spelling.
    EXPECT_EQ(QFileInfo(*found).canonicalFilePath().toLower().toStdString(),
              real.toLower().toStdString());
  }
}

TEST(TextLineReader, EachPolicyEndsLinesAtItsOwnCharacters) {
  const QByteArray text("a\r\nb\rc\nd\r\n\r\ne");
  EXPECT_EQ(readAll(text, LineEnds::CrLfCrOrLf), (QStringList{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(readAll(text, LineEnds::CrLfOrCr), (QStringList{"a", "b", "c\nd", "", "e"}));
  // An ending at the very end starts no further line; a CR before CR LF is a line of its own.
  EXPECT_EQ(readAll("\r\r\n", LineEnds::CrLfOrCr), (QStringList{"", ""}));
  EXPECT_TRUE(readAll("", LineEnds::CrLfOrCr).isEmpty());
  EXPECT_EQ(readAll("Stra\xdf"
                    "e \x80",
                    LineEnds::CrLfOrCr),
            QStringList{u"Straße €"_qs});
}

TEST(TextLineReader, CrLfAcrossChunkBoundaryAndLongLinesCut) {
  QByteArray bytes(64 * 1024 - 1, 'x');
  bytes += "\r\nnext\r\n" + QByteArray(100, 'y') + "\xe4";
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  TextLineReader reader(buffer, 50);
  QString line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line.size(), 50);
  EXPECT_TRUE(reader.cut());
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, u"next"); // no empty line from the split CR LF
  EXPECT_FALSE(reader.cut());
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, QString(50, u'y'));
  EXPECT_EQ(reader.lineNumber(), 3);
  EXPECT_FALSE(reader.next(line));
}

TEST(EventLog, AppendsOneEscapedLinePerEventAndFlushes) {
  EXPECT_EQ(EventLog::escape(u"a\tb\rc\nd\\e plain Ü"), u"a\\tb\\rc\\nd\\\\e plain Ü");
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("events.log"));
  EventLog log(path);
  ASSERT_TRUE(log.enabled());
  log.write(u"status", {QStringLiteral("255"), QStringLiteral("ERR:x\ty")});
  log.write(u"saved");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)); // readable while the log is still open
  EXPECT_EQ(QString::fromUtf8(file.readAll()), u"status\t255\tERR:x\\ty\nsaved\n");
}

// A field may carry any character the server sent; the log stays one readable line per event and
// holds no raw control character (a NUL would cut the line for most readers).
TEST(EventLog, EscapesEveryControlCharacter) {
  const struct {
    QString field;
    QString logged;
  } cases[] = {
      {QString(QChar(0)), QStringLiteral("\\x00")},
      {QStringLiteral("a") + QChar(0) + QStringLiteral("b"), QStringLiteral("a\\x00b")},
      {QString(QChar(0x01)), QStringLiteral("\\x01")},
      {QString(QChar(0x07)), QStringLiteral("\\x07")},
      {QString(QChar(0x0b)), QStringLiteral("\\x0b")},
      {QString(QChar(0x0c)), QStringLiteral("\\x0c")},
      {QString(QChar(0x1b)), QStringLiteral("\\x1b")},
      {QString(QChar(0x1f)), QStringLiteral("\\x1f")},
      {QString(QChar(0x7f)), QStringLiteral("\\x7f")},
      {QString(QChar(0x81)), QStringLiteral("\\x81")}, // C1 controls: bytes cp1252 leaves undefined
      {QString(QChar(0x9f)), QStringLiteral("\\x9f")},
      {QStringLiteral("\\x00"), QStringLiteral("\\\\x00")}, // a written-out escape stays apart
      {QStringLiteral(" ~\u00a0\u00ff\u20ac"), QStringLiteral(" ~\u00a0\u00ff\u20ac")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EventLog::escape(c.field), c.logged) << c.field.toStdString();
  for (char16_t code = 0; code < 0x20; ++code) {
    const bool named = code == u'\t' || code == u'\r' || code == u'\n';
    EXPECT_EQ(EventLog::escape(QString(QChar(code))).size(), named ? 2 : 4) << int(code);
  }
}

TEST(EventLog, OffWithoutAFile) {
  EventLog log;
  EXPECT_FALSE(log.enabled());
  log.write(u"status", {QStringLiteral("x")}); // harmless
  qunsetenv("MELDLUX_EVENT_LOG");
  EXPECT_FALSE(EventLog::fromEnvironment()->enabled());
}
