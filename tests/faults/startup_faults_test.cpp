// SPDX-License-Identifier: GPL-3.0-or-later
#include "fault_run.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <unistd.h>

// Damaged files at start: a settings store of garbage or of 0 bytes, reference files cut at odd
// lengths, a working directory that cannot be read. Start-up reads what it can and treats the
// rest as absent; the program runs, and at SIGTERM it writes a settings store it can read again.
using namespace meldlux::faults;

namespace {

constexpr int kRate = 20; // the first connection check comes after 0.2 s of real time
constexpr int kConnectRealMs = 10000;

QByteArray garbage(int size) {
  QByteArray bytes(size, '\0');
  quint32 x = 12345; // the same garbage every run
  for (char& b : bytes) {
    x = x * 1103515245u + 12345u;
    b = char(x >> 16);
  }
  // Some of what makes a line format stumble, at odd places.
  bytes.replace(100, 6, QByteArray("=\0[]\r\n", 6));
  bytes.replace(2000, 9, "[Server]\n");
  bytes.replace(3000, 6, "Port=\n");
  return bytes;
}

void writeStore(MeldluxRun& meldlux, const QByteArray& bytes) {
  QFile ini(meldlux.settingsPath());
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ini.write(bytes);
}

void cut(const QString& path, qint64 size) {
  QFile file(path);
  ASSERT_TRUE(file.exists()) << path.toStdString();
  ASSERT_TRUE(file.resize(size)) << path.toStdString();
}

// Start-up ran to its end: the popup is armed, nothing stopped at a message box.
void expectStartupCompleted(const MeldluxRun& meldlux) {
  EXPECT_TRUE(waitFor([&] { return meldlux.logged(QStringLiteral("popup\tshown")); }, 5000))
      << meldlux.log().toStdString();
  EXPECT_FALSE(meldlux.log().contains(QStringLiteral("\nmessagebox\t")));
}

} // namespace

TEST(StartupFaults, DamagedSettingsStore) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  const struct {
    const char* name;
    QByteArray store;
    bool connects; // the store still names the test's server
  } cases[] = {
      {"binary garbage", garbage(4096), false},
      {"0 bytes", {}, false},
      {"garbage before good keys", garbage(4096), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FaultRun run(kRate);
    QByteArray store = c.store;
    if (c.connects)
      store += "\n" + settingsFor(run.server.port()).toUtf8();
    writeStore(run.meldlux, store);
    ASSERT_TRUE(run.start());
    expectStartupCompleted(run.meldlux);
    EXPECT_TRUE(run.loopTurns());
    // Garbage is damage: a dated copy is kept, and a line says where; an empty file is none.
    EXPECT_EQ(run.meldlux.log().contains(QStringLiteral(
                  "supervision\twarning\tfault\tEinstellungen beschädigt, Lesbares übernommen; "
                  "Kopie: ") + run.meldlux.settingsPath().chopped(4) + ".damaged-"),
              !c.store.isEmpty());
    if (c.connects) {
      ASSERT_TRUE(run.connectsAndLogsIn(kConnectRealMs));
      ASSERT_TRUE(run.server.send("ZVEI\t12345\r\n"));
      EXPECT_TRUE(run.shows(QStringLiteral("12345 Unbekannt")));
    }
    ASSERT_TRUE(run.endsOnSigterm());
    const QString written = run.meldlux.settings();
    EXPECT_TRUE(validSettingsStore(written));
    const QString address = c.connects ? QStringLiteral("\nPort=%1\n").arg(run.server.port())
                                       : QStringLiteral("\nAdresse=127.0.0.1\n");
    EXPECT_TRUE(written.contains(address)) << written.toStdString();

    // What it wrote, it reads again: a second start keeps the same store.
    FaultRun again(kRate);
    writeStore(again.meldlux, written.toUtf8());
    ASSERT_TRUE(again.start());
    expectStartupCompleted(again.meldlux);
    ASSERT_TRUE(again.endsOnSigterm());
    EXPECT_EQ(again.meldlux.settings(), written);
  }
}

// Reference files cut at odd lengths, all but the three whose loaders stop at a message box
// (see CutRecordFileStopsAtTheLoadersMessageBox): a cut follow-up place file is unusable and the
// second product's list is read instead; cut status files and text lists give what they hold.
TEST(StartupFaults, ReferenceFilesCutAtOddLengths) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  FaultRun run(kRate);
  const QString data = run.dir.filePath(QStringLiteral("data"));
  ASSERT_EQ(QProcess::execute(binary("meldlux-refdata"), {QStringLiteral("sample"), data}), 0);
  const QDir d(data);
  cut(d.filePath("Folgetlg.DAT"), QFileInfo(d.filePath("Folgetlg.DAT")).size() - 7);
  cut(d.filePath("StatusL.DAT"), 12345);
  cut(d.filePath("StatusF.DAT"), 6001);
  cut(d.filePath("Settings/BOSList.wbr"), 5003);
  cut(d.filePath("Settings/ClientList.wbr"), 333);
  cut(d.filePath("Settings/FahrzeugMelder.wbr"), 1001);
  cut(d.filePath("Orte.txt"), 255);
  cut(d.filePath("Ersetzen.txt"), 47);

  ASSERT_TRUE(run.start({}, data));
  expectStartupCompleted(run.meldlux);
  // The popup shows with the first notice, so the later loaders' notices may still be coming.
  EXPECT_TRUE(waitFor(
      [&] { return run.meldlux.logged(QStringLiteral("Fahrzeuge (Zentrix) geladen.")); }, 10000));
  const QString log = run.meldlux.log();
  EXPECT_TRUE(log.contains(QStringLiteral("\tZentrix Statustexte geladen.\n")));
  EXPECT_FALSE(log.contains(QStringLiteral("Folgeorte (Zentrix) geladen.")));
  ASSERT_TRUE(run.connectsAndLogsIn(kConnectRealMs));
  ASSERT_TRUE(run.server.send("ZVEI\t12345\r\n"));
  EXPECT_TRUE(run.shows(QStringLiteral("12345 ")));
  EXPECT_TRUE(run.loopTurns());
  ASSERT_TRUE(run.endsOnSigterm());
  EXPECT_TRUE(validSettingsStore(run.meldlux.settings()));
}

// A record file of the wrong length makes its loader show a modal message box. No one closes it
// here, so start-up waits there until it closes by itself; the event loop keeps turning inside.
TEST(StartupFaults, CutRecordFileStopsAtTheLoadersMessageBox) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  const struct {
    const char* file;
    const char* box;
  } cases[] = {
      {"Fahrzeug.Dat", "messagebox\tFahrzeuge Laden\tKeine gültige Fahrzeug DAT-Datei!"},
      {"Ton5.dat", "messagebox\t5Ton Empfänger Laden\tTon5.dat ist Keine gültige 5Ton-Datei!"},
      {"POCSAG.DAT", "messagebox\tPOCSAG Empfänger Laden\tKeine gültige POCSAG-Datei!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    FaultRun run(kRate);
    const QString data = run.dir.filePath(QStringLiteral("data"));
    ASSERT_EQ(QProcess::execute(binary("meldlux-refdata"), {QStringLiteral("sample"), data}), 0);
    const QString path = QDir(data).filePath(QString::fromLatin1(c.file));
    cut(path, QFileInfo(path).size() - 1);
    ASSERT_TRUE(run.start({}, data));
    EXPECT_TRUE(waitFor([&] { return run.meldlux.logged(QString::fromUtf8(c.box)); }, 5000))
        << run.meldlux.log().toStdString();
    EXPECT_TRUE(run.loopTurns());
  }
}

// A list file that is there but cannot be opened is a failure that ends start-up, as an
// unreadable file of the server products is; only a missing one is no error. Root opens any file,
// so as root the check runs as "nobody".
TEST(StartupFaults, AnUnreadableListFileEndsStartUp) {
  for (const char* name : {"Orte.txt", "Ersetzen.txt"}) {
    SCOPED_TRACE(name);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    ASSERT_EQ(QProcess::execute(binary("meldlux-refdata"), {QStringLiteral("sample"), data}), 0);
    QStringList command;
    if (::geteuid() == 0) {
      const QFileDevice::Permissions open = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                            QFileDevice::ExeOther;
      QFile::setPermissions(dir.path(), open);
      for (QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot,
                           QDirIterator::Subdirectories);
           it.hasNext();)
        QFile::setPermissions(it.next(), open);
      command = {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                 QStringLiteral("--clear-groups")};
    }
    ASSERT_TRUE(QFile::setPermissions(QDir(data).filePath(QString::fromLatin1(name)), {}));
    command += {binary("meldlux-refdata"), QStringLiteral("check"), data};
    QProcess check;
    if (::geteuid() == 0)
      check.start(QStringLiteral("setpriv"), command);
    else
      check.start(command.takeFirst(), command);
    ASSERT_TRUE(check.waitForFinished(30000));
    const QString text = QString::fromUtf8(check.readAllStandardOutput());
    EXPECT_EQ(check.exitCode(), 1) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Der Start bricht beim Laden von %1 ab").arg(name)))
        << text.toStdString();
  }
}

// The working directory cannot be read: every reference file counts as absent, start-up runs to
// its end with the built-in tables, and the program works.
TEST(StartupFaults, WorkingDirectoryCannotBeRead) {
  ASSERT_TRUE(fastClockAvailable()) << MELDLUX_LIBFAKETIME;
  FaultRun run(kRate);
  const QString data = run.dir.filePath(QStringLiteral("data"));
  ASSERT_EQ(QProcess::execute(binary("meldlux-refdata"), {QStringLiteral("sample"), data}), 0);
  struct Reopen { // whatever happens, the folder can be removed afterwards
    QString path;
    ~Reopen() {
      QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ExeOwner);
    }
  } reopen{data};

  // The program closes the folder to itself once it is inside. Root reads any folder, so as root
  // the program runs as "nobody", who then needs to reach the test's folder.
  QStringList wrapper;
  if (::geteuid() == 0) {
    const QFileDevice::Permissions all =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QFile::setPermissions(run.dir.path(), all);
    for (QDirIterator it(run.dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();)
      QFile::setPermissions(it.next(), all);
    ASSERT_EQ(::chown(data.toLocal8Bit().constData(), 65534, 65534), 0);
    wrapper = {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
               QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")};
  }
  // The faster clock is for meldlux alone: the wrappers, as another user, could not share the
  // library's semaphore with it.
  QProcessEnvironment env = fastClock(kRate, withTicks(FaultRun::kTickMs * kRate));
  env.insert(QStringLiteral("FAULTS_PRELOAD"), env.value(QStringLiteral("LD_PRELOAD")));
  env.remove(QStringLiteral("LD_PRELOAD"));
  wrapper += {QStringLiteral("sh"), QStringLiteral("-c"),
              QStringLiteral("chmod 0 . && export LD_PRELOAD=\"$FAULTS_PRELOAD\" && "
                             "exec \"$0\" \"$@\"")};
  ASSERT_TRUE(run.meldlux.startThrough(wrapper, {}, data, env));
  expectStartupCompleted(run.meldlux);
  EXPECT_FALSE(run.meldlux.log().contains(QStringLiteral(" geladen.")));
  ASSERT_TRUE(run.connectsAndLogsIn(kConnectRealMs));
  ASSERT_TRUE(run.server.send("ZVEI\t12345\r\n"));
  EXPECT_TRUE(run.shows(QStringLiteral("12345 Unbekannt")));
  EXPECT_TRUE(run.loopTurns());
  ASSERT_TRUE(run.endsOnSigterm());
  EXPECT_TRUE(validSettingsStore(run.meldlux.settings()));
}
