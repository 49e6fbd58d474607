// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "support/config_home.h"
#include "support/event_log_file.h"
#include "support/wait.h"
#include "tray/tray_fakes.h"

#include <QEventLoop>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

// The program started on a settings store of its own, in a data folder of its own (the reference
// files are read from the working directory), with the event log in that folder.
class Startup : public ::testing::Test {
protected:
  Startup() : previous_(QDir::currentPath()) {
    server.listen(QHostAddress::LocalHost, 0);
    QDir::setCurrent(data.path());
  }
  ~Startup() override { QDir::setCurrent(previous_); }

  void store(const QByteArray& ini) {
    home.writeFile(QString::fromLatin1(SettingsStore::kApplication), ini);
  }
  void writeData(const QString& name, const QByteArray& bytes) {
    QFile file(data.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  void make(std::unique_ptr<MessageBoxes> boxes = {}) {
    DisplayPorts ports;
    ports.boxes = std::move(boxes);
    ports.trayShell = std::make_unique<FakeShell>();
    app = std::make_unique<Application>(
        std::make_unique<ManualClock>(),
        std::make_unique<EventLog>(data.filePath(QStringLiteral("events.log"))), std::move(ports));
    app->setMainWindow(&owner);
  }
  QStringList events(const QString& kind) const {
    return eventLogLines(data.filePath(QStringLiteral("events.log")), kind);
  }
  QByteArray serverSettings(const QString& address) const {
    return QStringLiteral("[Server]\nAdresse=%1\nPort=%2\n[Einstellungen]\nAutoConnect=1\n")
        .arg(address)
        .arg(server.serverPort())
        .toUtf8();
  }

  ConfigHome home;
  QTemporaryDir data;
  QTcpServer server;
  FakeOwner owner;
  std::unique_ptr<Application> app;

private:
  QString previous_;
};

// A loader's box that the user leaves open for a while: the modal loop runs all that time.
class HeldBox final : public MessageBoxes {
public:
  explicit HeldBox(int milliseconds, std::function<void()> whileOpen = {})
      : milliseconds_(milliseconds), whileOpen_(std::move(whileOpen)) {}
  void show(const QString&, const QString&, Icon) override {
    QEventLoop loop;
    QTimer::singleShot(milliseconds_, &loop, &QEventLoop::quit);
    loop.exec();
    if (whileOpen_)
      whileOpen_();
  }

private:
  int milliseconds_;
  std::function<void()> whileOpen_;
};

TEST_F(Startup, ABoxHeldOpenLongerThanTheFirstCheckLetsNoTimerActBeforeStartUpEnds) {
  store(serverSettings(QStringLiteral("127.0.0.1")));
  writeData(QStringLiteral("Fahrzeug.Dat"), QByteArray(1000, 'x')); // raises the box
  bool connectedDuringTheBox = true;
  make(std::make_unique<HeldBox>(4500, [this, &connectedDuringTheBox] {
    connectedDuringTheBox = server.hasPendingConnections() || !app->link().isClosed();
  }));
  ASSERT_TRUE(app->Form_Load(QString()));
  ASSERT_EQ(events(QStringLiteral("messagebox")).size(), 1);
  EXPECT_FALSE(connectedDuringTheBox);
  EXPECT_TRUE(events(QStringLiteral("connect")).isEmpty());
  // The first check still comes a full 4 s after start-up, and then it connects.
  ASSERT_TRUE(app->link().timer1().isActive());
  // A timer started before the box would be overdue (0) by now; the margin is for a loaded machine.
  EXPECT_GT(app->link().timer1().remainingTime(), 1000);
  EXPECT_TRUE(testing::waitUntil([this] { return server.hasPendingConnections(); }, 6000));
}

TEST_F(Startup, AHostNameAloneReplacesTheStoredAddressForTheWholeRun) {
  // Nothing listens on 127.0.0.2 at that port: a connection can only reach the named host.
  store(serverSettings(QStringLiteral("127.0.0.2")));
  make();
  ASSERT_TRUE(app->Form_Load(QStringLiteral("127.0.0.1")));
  EXPECT_EQ(app->options().text(Text::txtSrv), u"127.0.0.1");
  EXPECT_EQ(app->LockMode(), 0);
  EXPECT_FALSE(app->mainWindowStartsHidden());
  app->link().cmdStatus_Click();
  ASSERT_TRUE(testing::waitUntil([this] { return server.hasPendingConnections(); }));
  app->Form_Unload(true);
  EXPECT_TRUE(home.lines(QString::fromLatin1(SettingsStore::kApplication))
                  .contains(QStringLiteral("Adresse=127.0.0.1")));
}

TEST_F(Startup, ThePopupStartsInFrontUnlessTheStoreSaysOtherwise) {
  const struct {
    const char* name;
    QByteArray ini;
    bool topMost;
  } cases[] = {
      {"empty store", "", true},
      {"both stored 1", "[Einstellungen]\nMsgAktiv=1\nMsgVorne=1\n", true},
      {"both stored 0", "[Einstellungen]\nMsgAktiv=0\nMsgVorne=0\n", false},
  };
  for (const auto& c : cases) {
    store(c.ini);
    make();
    ASSERT_TRUE(app->Form_Load(QString())) << c.name;
    EXPECT_EQ(app->popupModel().topMost(), c.topMost) << c.name;
    app->Form_Unload(true);
    app.reset();
  }
}

// A kill during an earlier save can leave the store's temporary file behind; start-up removes it
// and nothing else.
TEST_F(Startup, RemovesTemporaryFilesAnEarlierSaveLeftBehind) {
  store(serverSettings(QStringLiteral("127.0.0.1")));
  const QString ini = home.path(QString::fromLatin1(SettingsStore::kApplication));
  const QStringList kept = {ini, ini + QStringLiteral(".bak"), ini + QStringLiteral(".12345")};
  for (const QString& path : kept + QStringList{ini + QStringLiteral(".aB3xYz")}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append)) << path.toStdString();
  }
  make();
  ASSERT_TRUE(app->Form_Load(QString()));
  EXPECT_FALSE(QFile::exists(ini + QStringLiteral(".aB3xYz")));
  for (const QString& path : kept)
    EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
}

} // namespace
} // namespace meldlux
