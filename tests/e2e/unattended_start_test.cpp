// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_reader.h"
#include "support/x_desktop.h"

#include <QTcpServer>
#include <QTemporaryDir>

using namespace meldlux;
using namespace meldlux::e2e;

// A vehicle file of the wrong length raises its loader's box at start; nobody clicks it. The box
// closes by itself (here after 1 s), start-up goes on as after "OK" and the program connects; the
// journal keeps the fault with the file and why.
TEST(UnattendedStart, ALoadersBoxLeftAloneClosesAndTheFaultIsJournaled) {
  if (const QString tool = XDesktop::missing({"Xvfb"}); !tool.isEmpty())
    GTEST_SKIP() << tool.toStdString() << " is not installed (scripts/setup.sh installs it)";
  XDesktop desktop;
  ASSERT_TRUE(desktop.start());
  QTemporaryDir dir;
  QFile vehicles(dir.filePath(QStringLiteral("Fahrzeug.Dat")));
  ASSERT_TRUE(vehicles.open(QIODevice::WriteOnly));
  vehicles.write(QByteArray(14400, ' '));
  vehicles.close();
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  MeldluxRun meldlux(dir.path(), autoConnectSettings(server.serverPort()));
  QProcessEnvironment env = desktop.environment();
  env.insert(QStringLiteral("MELDLUX_MESSAGE_BOX_TIMEOUT_MS"), QStringLiteral("1000"));
  ASSERT_TRUE(meldlux.start({}, {}, env));

  ASSERT_TRUE(server.waitForNewConnection(30000)) << meldlux.log().toStdString();
  EXPECT_TRUE(meldlux.logged(QStringLiteral("messagebox\tFahrzeuge Laden\tKeine gültige Fahrzeug "
                                            "DAT-Datei!")));
  EXPECT_TRUE(meldlux.logged(QStringLiteral("popup\tshown"))); // start-up ran to its end
  JournalReader journal(meldlux.journalPath());
  const auto faults = journal.page(JournalFilter{{kJournalLoadFault}, {}, 0, 0}, 10);
  ASSERT_EQ(faults.size(), 1u) << journal.error().toStdString();
  EXPECT_EQ(faults[0].identifier, vehicles.fileName());
  EXPECT_TRUE(faults[0].message.startsWith(
      QStringLiteral("Länge 14400 Bytes ist kein Vielfaches von 515")));
  meldlux.process.terminate();
  EXPECT_TRUE(meldlux.process.waitForFinished(10000));
}
