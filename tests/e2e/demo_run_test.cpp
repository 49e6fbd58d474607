#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

// The real programs together: the sample data set, the decoder simulator playing the sample
// scenario, and meldlux (offscreen) connecting by itself; the event log tells what it showed.
namespace {

QString binary(const char* name) {
  return QDir(qEnvironmentVariable("MELDLUX_BIN_DIR", QCoreApplication::applicationDirPath()))
      .filePath(QString::fromLatin1(name));
}

quint16 freePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

QString readLog(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString waitForLog(const QString& path, const QString& needle, int ms) {
  QDeadlineTimer deadline(ms);
  QString log;
  while (!deadline.hasExpired()) {
    log = readLog(path);
    if (log.contains(needle))
      break;
    QThread::msleep(100);
  }
  return log;
}

} // namespace

TEST(DemoRun, SampleTrafficShowsNamedVehiclesAlarmsAndPlaces) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString data = dir.filePath(QStringLiteral("data"));
  ASSERT_EQ(QProcess::execute(binary("meldlux-refdata"), {QStringLiteral("sample"), data}), 0);

  const quint16 port = freePort();
  QDir(dir.path()).mkpath(QStringLiteral("config/meldlux"));
  QFile ini(dir.filePath(QStringLiteral("config/meldlux/MeldluxWBR.ini")));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write(QStringLiteral("[Server]\nAdresse=127.0.0.1\nPort=%1\nPW=geheim\n"
                           "[Einstellungen]\nAutoConnect=1\nMsgLines=5\n")
                .arg(port)
                .toUtf8());
  ini.close();

  const QString scenario =
      QDir(QStringLiteral(MELDLUX_SOURCE_DIR)).filePath("tools/decoder-sim/sample.scenario");
  QProcess sim;
  sim.start(binary("meldlux-decoder-sim"),
            {QStringLiteral("--port"), QString::number(port), QStringLiteral("--password"),
             QStringLiteral("geheim"), QStringLiteral("--scenario"), scenario});
  ASSERT_TRUE(sim.waitForStarted());

  const QString logPath = dir.filePath(QStringLiteral("events.log"));
  QProcess meldlux;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
  env.insert(QStringLiteral("MELDLUX_EVENT_LOG"), logPath);
  meldlux.setProcessEnvironment(env);
  meldlux.setWorkingDirectory(data);
  meldlux.start(binary("meldlux"), {});
  ASSERT_TRUE(meldlux.waitForStarted());

  // The first connection check comes 4 s after start; the scenario needs about 16 s.
  const QString log = waitForLog(logPath, QStringLiteral("1234567 [A] "), 40000);
  meldlux.kill();
  meldlux.waitForFinished();
  sim.terminate();
  sim.waitForFinished();

  EXPECT_TRUE(log.contains(QStringLiteral("message\t")) &&
              log.contains(QStringLiteral("28 Fahrzeuge (Zentrix) geladen.")))
      << log.toStdString();
  EXPECT_TRUE(log.contains(QStringLiteral("connect\t127.0.0.1\t%1").arg(port)));
  EXPECT_TRUE(log.contains(QStringLiteral("sent\tPASS:geheim\\r\\n")));
  // "Florian Musterstadt" is shortened by the sample's replacement list.
  EXPECT_TRUE(log.contains(QStringLiteral("Flo MS 1/44-1      3 ")));
  EXPECT_TRUE(log.contains(QStringLiteral("==> Musterstadt, Hauptstraße 1 <==")));
  EXPECT_TRUE(log.contains(QStringLiteral("\t255\t21001 Feuerwehr Musterstadt Vollalarm")));
  EXPECT_TRUE(log.contains(QStringLiteral("traytip\t")));
}
