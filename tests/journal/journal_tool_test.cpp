// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/journal_fixture.h"

#include "journal/journal_connection.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

using testing::entryOfEachKind;
using testing::JournalRig;

struct ToolRun {
  int code = -1;
  QByteArray out;
  QByteArray err;
};

ToolRun tool(const QStringList& args) {
  QProcess p;
  p.start(qEnvironmentVariable("MELDLUX_BIN_DIR") + QStringLiteral("/meldlux-journal"), args);
  ToolRun r;
  if (!p.waitForFinished(20000)) {
    p.kill();
    p.waitForFinished();
    return r;
  }
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = p.readAllStandardOutput();
  r.err = p.readAllStandardError();
  return r;
}

// A journal of two days, each with one row of every kind.
struct ToolFixture : ::testing::Test {
  JournalRig rig;
  void SetUp() override {
    rig.clock.set(46363.25); // 07.12.2026 06:00:00
    for (const double day : {0.0, 1.0})
      for (const JournalEntry& e : entryOfEachKind(rig.clock.now() + day))
        rig.writer->record(e);
    JournalRig::endBlock();
    ASSERT_EQ(rig.writer->waiting(), 0u);
  }
  QStringList file() const { return {QStringLiteral("--file"), rig.path()}; }
};

TEST_F(ToolFixture, CsvIsForGermanSpreadsheets) {
  JournalEntry semicolon = entryOfEachKind(rig.clock.now() + 1.0 / 24)[2]; // ZVEI at 07:00
  semicolon.name = QStringLiteral("Zug 1; Zug 2");
  rig.writer->record(semicolon);
  JournalRig::endBlock();
  // A day without a time is the whole of that day, as in the history window.
  const ToolRun r =
      tool(QStringList{"export", "--kind", "zvei,pocsag", "--until", "07.12.2026"} + file());
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  ASSERT_TRUE(r.out.startsWith(QByteArray("\xEF\xBB\xBF") + "Ankunft;"))
      << r.out.left(40).toStdString();
  const QList<QByteArray> lines = r.out.split('\n');
  ASSERT_EQ(lines.size(), 5); // header, three rows, the empty rest after the last CRLF
  EXPECT_TRUE(lines[3].contains(";\"Zug 1; Zug 2\";")) << lines[3].toStdString();
  EXPECT_EQ(lines[1],
            "07.12.2026 06:00:00;07.12.2026 05:59:59;zvei;12345;\"FF Süd; \"\"Vollalarm\"\"\";;;;"
            "\"12345 FF Süd; \"\"Vollalarm\"\"\";65280\r");
  EXPECT_TRUE(lines[2].startsWith("07.12.2026 06:00:00;07.12.2026 05:59:59;pocsag;1234567 [D];"))
      << lines[2].toStdString();
}

TEST_F(ToolFixture, JsonLinesCarryEveryField) {
  const ToolRun r =
      tool(QStringList{"export", "--format", "jsonl", "--since", "2026-12-08"} + file());
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QList<QByteArray> lines = r.out.trimmed().split('\n');
  ASSERT_EQ(lines.size(), 5);
  const QJsonObject first = QJsonDocument::fromJson(lines[0]).object();
  EXPECT_EQ(first["kind"].toString(), "fms_vehicle");
  EXPECT_EQ(first["status"].toInt(), 3);
  EXPECT_EQ(first["direction"].toString(), "Fahrzeug");
  // The local time with its offset from UTC ("Z" where local time is UTC), the very moment.
  const QString arrival = first["arrival"].toString();
  EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^2026-12-08T06:00:00(Z|[+-]\d\d:\d\d)$)"))
                  .match(arrival)
                  .hasMatch())
      << arrival.toStdString();
  EXPECT_EQ(QDateTime::fromString(arrival, Qt::ISODate),
            QDateTime(QDate(2026, 12, 8), QTime(6, 0)));
  EXPECT_EQ(QDateTime::fromString(first["telegram_time"].toString(), Qt::ISODate),
            QDateTime(QDate(2026, 12, 8), QTime(5, 59, 59)));
  EXPECT_EQ(QJsonDocument::fromJson(lines[3]).object()["message"].toString(), "B3 Brand\tWohnhaus");
}

TEST_F(ToolFixture, StatsCountPerDayAndKind) {
  const ToolRun r = tool(QStringList{"stats", "--kind", "text"} + file());
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, "Tag;Art;Anzahl\n07.12.2026;text;1\n08.12.2026;text;1\n");
}

TEST_F(ToolFixture, CheckAndBadInput) {
  EXPECT_EQ(tool(QStringList{"check"} + file()).out, "ok\n");
  struct Case {
    QStringList args;
    int code;
  };
  const Case cases[] = {
      {{"export", "--since", "gestern"}, 2},
      {{"export", "--kind", "fax"}, 2},
      {{"export", "--format", "xml"}, 2},
      {{"stats", "--bogus"}, 2},
      {{"frobnicate"}, 2},
      {{"check", "--file", rig.path("missing.sqlite")}, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tool(c.args + (c.args.contains("--file") ? QStringList{} : file())).code, c.code)
        << c.args.join(' ').toStdString();
  for (const char* command : {"export", "stats", "check"}) {
    const ToolRun help = tool({command, "--help"});
    EXPECT_EQ(help.code, 0) << command;
    EXPECT_TRUE(help.out.contains("--file")) << command;
    EXPECT_TRUE(help.out.startsWith(
        ("Aufruf: meldlux-journal " + std::string(command) + " [Optionen]\n").c_str()))
        << help.out.left(60).toStdString();
    EXPECT_TRUE(help.out.contains("Zeigt Hilfe")) << help.out.toStdString();
  }
  EXPECT_TRUE(tool({"--help"}).out.startsWith("Aufruf: meldlux-journal export|stats|check"));
  EXPECT_TRUE(tool({"--version"}).out.startsWith("meldlux-journal 1."));

  rig.writer.reset();
  QFile f(rig.path());
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  f.seek(4096); // the table's first page, all of it
  f.write(QByteArray(4096, '\xA5'));
  f.close();
  const ToolRun damaged = tool(QStringList{"check"} + file());
  EXPECT_EQ(damaged.code, 1) << damaged.out.toStdString();
}

TEST_F(ToolFixture, AFileThatIsNoJournalIsToldInASentence) {
  QFile text(rig.path("notizen.txt"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("Einsatz 1\nEinsatz 2\n");
  text.close();
  {
    // A database of another program: SQLite, but without the journal's table.
    JournalConnection other(rig.path("andere.sqlite"));
    ASSERT_TRUE(QSqlQuery(other.db()).exec("CREATE TABLE kunden (name TEXT)"));
  }
  QFile(rig.path("leer.sqlite")).open(QIODevice::WriteOnly);
  for (const char* name : {"notizen.txt", "andere.sqlite", "leer.sqlite"})
    for (const char* command : {"check", "export", "stats"}) {
      const ToolRun r = tool({command, "--file", rig.path(name)});
      EXPECT_EQ(r.code, 1) << command << ' ' << name;
      EXPECT_TRUE((r.out + r.err).contains(" ist kein Journal von Meldlux"))
          << command << ' ' << name << ": " << (r.out + r.err).toStdString();
    }
  EXPECT_EQ(QFileInfo(rig.path("leer.sqlite")).size(), 0); // looked at, not made a journal
}

} // namespace
} // namespace meldlux
