#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

// A terminated meldlux ends the way closing its main window does: settings saved, tray icon
// removed, goodbye lines to the server. The lock mode does not stand in its way.
namespace {

QString binary(const char* name) {
  return QDir(qEnvironmentVariable("MELDLUX_BIN_DIR", QCoreApplication::applicationDirPath()))
      .filePath(QString::fromLatin1(name));
}

QString readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(SignalExit, TermSavesRemovesTheIconAndSaysGoodbyeEvenUnderLock) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  QDir(dir.path()).mkpath(QStringLiteral("config/meldlux"));
  const QString iniPath = dir.filePath(QStringLiteral("config/meldlux/MeldluxWBR.ini"));
  QFile ini(iniPath);
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write(QStringLiteral("[Server]\nAdresse=127.0.0.1\nPort=%1\n[Einstellungen]\nAutoConnect=1\n")
                .arg(server.serverPort())
                .toUtf8());
  ini.close();

  const QString logPath = dir.filePath(QStringLiteral("events.log"));
  QProcess meldlux;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
  env.insert(QStringLiteral("MELDLUX_EVENT_LOG"), logPath);
  meldlux.setProcessEnvironment(env);
  meldlux.setWorkingDirectory(dir.path());
  meldlux.start(binary("meldlux"), {QStringLiteral("/l2")});
  ASSERT_TRUE(meldlux.waitForStarted());

  // The first connection check comes about 4 s after start.
  ASSERT_TRUE(server.waitForNewConnection(15000));
  QTcpSocket* client = server.nextPendingConnection();
  QDeadlineTimer loggedIn(5000);
  while (!readAll(logPath).contains(QStringLiteral("sent\tPASS:")) && !loggedIn.hasExpired())
    QThread::msleep(50);

  meldlux.terminate(); // SIGTERM
  ASSERT_TRUE(meldlux.waitForFinished(10000));
  EXPECT_EQ(meldlux.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(meldlux.exitCode(), 0);

  const QString log = readAll(logPath);
  const qsizetype saved = log.indexOf(QStringLiteral("saved\n"));
  const qsizetype removed = log.indexOf(QStringLiteral("tray\tdelete\t"));
  const qsizetype goodbye = log.indexOf(QStringLiteral("sent\tXXX\\r\\n"));
  ASSERT_GE(saved, 0) << log.toStdString();
  EXPECT_GT(removed, saved) << log.toStdString();
  EXPECT_GT(goodbye, removed) << log.toStdString();
  EXPECT_TRUE(log.contains(QStringLiteral("tray\tadd\tmeldlux\n")));
  EXPECT_TRUE(log.contains(QStringLiteral("tray\tmodify\tFMS Meldlux\n")));

  client->waitForReadyRead(2000);
  QByteArray received = client->readAll();
  while (client->waitForReadyRead(500))
    received += client->readAll();
  EXPECT_TRUE(received.contains("XXX\r\nExit\r\n")) << received.toStdString();
  EXPECT_TRUE(readAll(iniPath).contains(QStringLiteral("FormVisible=0"))); // "/l2" kept it hidden
}
