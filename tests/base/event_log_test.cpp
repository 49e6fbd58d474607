#include "base/event_log.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace meldlux;

TEST(EventLog, EscapesSeparatorsAndLineEnds) {
  EXPECT_EQ(EventLog::escape(u"a\tb\rc\nd\\e"), u"a\\tb\\rc\\nd\\\\e");
  EXPECT_EQ(EventLog::escape(u"plain Ü"), u"plain Ü");
}

TEST(EventLog, AppendsOneLinePerEventAndFlushes) {
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

TEST(EventLog, OffWithoutAFile) {
  EventLog log;
  EXPECT_FALSE(log.enabled());
  log.write(u"status", {QStringLiteral("x")}); // harmless
  qunsetenv("MELDLUX_EVENT_LOG");
  EXPECT_FALSE(EventLog::fromEnvironment()->enabled());
}
