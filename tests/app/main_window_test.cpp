// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journal_settings_window.h"
#include "app/supervision_settings_window.h"
#include "history/history_window.h"
#include "options_window/main_window_fixture.h"
#include "support/journal_fixture.h"
#include "support/signal_recorder.h"
#include "support/wait.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

namespace meldlux {
namespace {

using MainWindowTest = testing::MainWindowFixture;

TEST_F(MainWindowTest, TextBoxesStartFromTheModel) {
  EXPECT_EQ(find<QLineEdit>("txtSrv")->text(), QStringLiteral("127.0.0.1"));
  EXPECT_EQ(find<QLineEdit>("txtSrvPort")->text(), QStringLiteral("7778"));
}

TEST_F(MainWindowTest, KeepaliveBoxRunsTheModelsRulesOnEditAndOnLeaving) {
  auto* box = find<QLineEdit>("txtKeepalive");
  box->selectAll();
  type(box, QString(), Qt::Key_Backspace);
  EXPECT_EQ(options().text(Text::txtKeepalive), QStringLiteral("0"));
  EXPECT_EQ(box->text(), QStringLiteral("0")); // the change rule's text shows at once

  box->setText(QString());
  type(box, QStringLiteral("1"), Qt::Key_1);
  EXPECT_EQ(options().text(Text::txtKeepalive), QStringLiteral("1"));
  // Only focus going to another control leaves the box; the window losing activation, or the
  // box's own context menu or the menu bar taking the keyboard, does not.
  for (const auto& [reason, shown] : {std::pair{Qt::ActiveWindowFocusReason, "1"},
                                      {Qt::PopupFocusReason, "1"},
                                      {Qt::MenuBarFocusReason, "1"},
                                      {Qt::TabFocusReason, "30"},
                                      {Qt::MouseFocusReason, "30"},
                                      {Qt::BacktabFocusReason, "30"},
                                      {Qt::ShortcutFocusReason, "30"},
                                      {Qt::OtherFocusReason, "30"}}) {
    options().setText(Text::txtKeepalive, QStringLiteral("1"));
    QFocusEvent leave(QEvent::FocusOut, reason);
    QCoreApplication::sendEvent(box, &leave);
    EXPECT_EQ(box->text(), QString::fromLatin1(shown)) << reason;
  }
}

TEST_F(MainWindowTest, DoubleClickOnThePasswordSwitchesItsMasking) {
  auto* box = find<QLineEdit>("txtPW");
  const auto before = box->echoMode();
  mouse(box, QEvent::MouseButtonDblClick);
  EXPECT_NE(box->echoMode(), before);
  EXPECT_EQ(box->echoMode() == QLineEdit::Password, !options().passwordChar().isEmpty());
}

TEST_F(MainWindowTest, StatusLabelAndButtonFollowTheLink) {
  auto* label = find<QLabel>("lblStatus");
  auto* button = find<QPushButton>("cmdStatus");
  EXPECT_EQ(label->text(), QStringLiteral("Unbekannt"));
  EXPECT_EQ(button->text(), QStringLiteral("Verbinden"));
  app_.statusLabel().set(QStringLiteral("Getrennt"), StatusLabel::kRed);
  EXPECT_EQ(label->text(), QStringLiteral("Getrennt"));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  app_.statusLabel().set(QStringLiteral("Verb????"), StatusLabel::kBlue);
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  app_.link().Winsock2_Connect();
  EXPECT_EQ(button->text(), QStringLiteral("Trennen"));
}

TEST_F(MainWindowTest, FahrzeugstatusButtonAsksForTheBoard) {
  SignalCounter asked(&window_, &MainWindow::boardRequested);
  find<QPushButton>("cmdFahrzeugstatus")->click();
  EXPECT_EQ(asked.count, 1);
}

TEST_F(MainWindowTest, OurOwnButtonsSitInOneRowInTheTrayMenusOrder) {
  window_.adjustSize();
  window_.layout()->activate();
  std::vector<QPoint> at;
  for (const char* name : {"cmdFahrzeugstatus", "cmdHistory", "cmdJournal"}) {
    QWidget* button = find<QPushButton>(name);
    if (button->parentWidget()->layout())
      button->parentWidget()->layout()->activate();
    at.push_back(button->mapTo(&window_, QPoint(0, 0)));
  }
  EXPECT_EQ(at[0].y(), at[1].y());
  EXPECT_EQ(at[1].y(), at[2].y());
  EXPECT_LT(at[0].x(), at[1].x());
  EXPECT_LT(at[1].x(), at[2].x());
}

template <typename W> W* shownTopLevel() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<W*>(widget); found && found->isVisible())
      return found;
  return nullptr;
}

// A settings page runs its own modal loop: the answer comes from inside it. A page that never
// shows is closed after a while, so the test fails instead of hanging.
template <typename Page> void answerPage(std::function<void(Page&)> answer) {
  QTimer::singleShot(0, [answer] {
    if (auto* page = shownTopLevel<Page>())
      answer(*page);
    else
      ADD_FAILURE() << "the page did not show";
  });
  QTimer::singleShot(10000, [] {
    if (auto* page = shownTopLevel<Page>())
      page->reject();
  });
}

void answerJournalPage(std::function<void(JournalSettingsWindow&)> answer) {
  answerPage<JournalSettingsWindow>(std::move(answer));
}

// The watch's page shows the stored values, says which parts of the list it cannot read, and OK
// stores them in [Überwachung] for the running watch.
TEST_F(MainWindowTest, SupervisionPageStoresItsValuesForTheRunningWatch) {
  WatchSettings expected;
  expected.silenceWarnSeconds = 120;
  expected.expectedText = QStringLiteral("1234567=1500;x");
  answerPage<SupervisionSettingsWindow>([&](SupervisionSettingsWindow& page) {
    EXPECT_EQ(page.findChild<QSpinBox*>(QStringLiteral("VerbindungWarnenNach"))->value(), 90);
    page.findChild<QSpinBox*>(QStringLiteral("StilleWarnenNach"))->setValue(120);
    page.findChild<QLineEdit*>(QStringLiteral("Erwartet"))->setText(expected.expectedText);
    EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("expectedProblems"))->text(),
              QStringLiteral("Nicht verwendet: \u201Ex\u201C: kein \u201E=\u201C"));
    page.accept();
  });
  find<QPushButton>("cmdUeberwachung")->click();
  EXPECT_EQ(readWatchSettings(app_.settingsStore()), expected);
  EXPECT_EQ(app_.linkWatch().settings(), expected);
}

TEST_F(MainWindowTest, JournalPageStoresItsValuesAndStartsTheJournalAfresh) {
  QTemporaryDir folder;
  find<QPushButton>("cmdHistory")->click();
  HistoryWindow* history = shownTopLevel<HistoryWindow>();
  ASSERT_NE(history, nullptr);
  EXPECT_EQ(history->windowTitle(), QStringLiteral("Verlauf"));

  answerJournalPage([&](JournalSettingsWindow& page) {
    EXPECT_EQ(page.windowTitle(), QStringLiteral("Journal"));
    EXPECT_TRUE(page.findChild<QCheckBox*>(QStringLiteral("enabled"))->isChecked());
    EXPECT_EQ(page.findChild<QSpinBox*>(QStringLiteral("retentionDays"))->value(), 365);
    page.findChild<QSpinBox*>(QStringLiteral("retentionDays"))->setValue(30);
    page.findChild<QLineEdit*>(QStringLiteral("folder"))->setText(folder.path());
    page.accept();
  });
  find<QPushButton>("cmdJournal")->click();
  JournalSettings stored = app_.journalSettings();
  EXPECT_TRUE(stored.enabled);
  EXPECT_EQ(stored.retentionDays, 30);
  EXPECT_EQ(stored.path(), folder.filePath(QStringLiteral("journal.sqlite")));
  EXPECT_NE(app_.journal(), nullptr);
  EXPECT_EQ(history->model().journalPath(), stored.path()); // the open window follows the folder

  answerJournalPage([](JournalSettingsWindow& page) {
    EXPECT_EQ(page.findChild<QSpinBox*>(QStringLiteral("retentionDays"))->value(), 30);
    page.findChild<QCheckBox*>(QStringLiteral("enabled"))->setChecked(false);
    page.findChild<QSpinBox*>(QStringLiteral("retentionDays"))->setValue(7);
    page.reject(); // "Abbrechen" keeps everything
  });
  find<QPushButton>("cmdJournal")->click();
  stored = app_.journalSettings();
  EXPECT_TRUE(stored.enabled);
  EXPECT_EQ(stored.retentionDays, 30);
  EXPECT_NE(app_.journal(), nullptr);

  answerJournalPage([](JournalSettingsWindow& page) {
    page.findChild<QCheckBox*>(QStringLiteral("enabled"))->setChecked(false);
    page.accept();
  });
  find<QPushButton>("cmdJournal")->click();
  EXPECT_FALSE(app_.journalSettings().enabled);
  EXPECT_EQ(app_.journal(), nullptr);
  history->close();
}

// The journal's file is replaced under the same name when it is found damaged: the open history
// reads the new one.
TEST_F(MainWindowTest, JournalPageTellsTheFileAndHistoryFollowsItToANewOne) {
  QTemporaryDir folder;
  const QString dir = folder.path() + QStringLiteral("/ein/recht/langer/Ordnername");
  app_.setJournalSettings(true, 0, dir);
  const OleDate now = app_.clock().now();
  for (const double daysAgo : {40.0, 20.0, 10.0, 1.0})
    for (const JournalEntry& e : testing::entryOfEachKind(now - daysAgo))
      app_.journal()->record(e);
  testing::JournalRig::endBlock();

  // The journal page tells what the file takes on disk and what a shorter retention deletes.
  JournalSettingsWindow page(app_);
  page.show();
  auto* days = page.findChild<QSpinBox*>(QStringLiteral("retentionDays"));
  auto* folderField = page.findChild<QLineEdit*>(QStringLiteral("folder"));
  auto* deletes = page.findChild<QLabel*>(QStringLiteral("deletes"));
  EXPECT_GE(folderField->width(),
            folderField->fontMetrics().horizontalAdvance(folderField->text()));
  EXPECT_TRUE(page.findChild<QLabel*>(QStringLiteral("size"))
                  ->text()
                  .startsWith(u"Größe auf dem Datenträger: "));
  days->setValue(30);
  EXPECT_EQ(deletes->text(), QStringLiteral("Bei 30 Tagen würden 5 ältere Einträge gelöscht"));
  days->setValue(1);
  EXPECT_EQ(days->suffix(), QStringLiteral(" Tag"));
  EXPECT_EQ(deletes->text(), QStringLiteral("Bei 1 Tag würden 15 ältere Einträge gelöscht"));
  days->setValue(365);
  EXPECT_EQ(deletes->text() + days->suffix(), QStringLiteral(" Tage"));
  page.close();

  find<QPushButton>("cmdHistory")->click();
  HistoryWindow* history = shownTopLevel<HistoryWindow>();
  ASSERT_TRUE(history && history->model().rowCount() == 20);
  const QString path = app_.journalSettings().path();
  for (const char* suffix : {"", "-wal", "-shm"}) {
    QFile junk(path + QLatin1String(suffix));
    ASSERT_TRUE(junk.open(QIODevice::ReadWrite));
    junk.write(QByteArray(junk.size() > 0 ? junk.size() : 4096, '\x5a'));
  }
  app_.journal()->record(testing::entryOfEachKind(now)[1]);
  testing::JournalRig::endBlock();
  testing::JournalRig::endBlock(); // the new file takes the row one turn later
  ASSERT_EQ(QDir(dir).entryList({"journal.damaged-*.sqlite"}).size(), 1);
  ASSERT_EQ(history->model().rowCount(), 1) << history->model().error().toStdString();
  EXPECT_EQ(history->model().entry(0).kind, JournalKind::FmsControl);
  history->close();
}

TEST_F(MainWindowTest, AutoConnectBoxSwitchesTheTimerBothWays) {
  find<QCheckBox>("chkAuto")->click();
  EXPECT_TRUE(app_.link().timer1().isActive());
  options().setChecked(Check::chkAuto, false);
  EXPECT_FALSE(app_.link().timer1().isActive());
}

TEST_F(MainWindowTest, ButtonConnectsAndClosingTheWindowSaysGoodbye) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  options().setText(Text::txtSrvPort, QString::number(server.serverPort()));
  find<QPushButton>("cmdStatus")->click();
  ASSERT_TRUE(server.waitForNewConnection(5000));
  QTcpSocket* client = server.nextPendingConnection();
  ASSERT_TRUE(testing::waitUntil([&] { return app_.link().isConnected(); }));

  window_.close();
  EXPECT_TRUE(app_.link().isClosed());
  QByteArray received = client->readAll(); // some may have come in during the goodbye
  while (received.size() < 11 && client->waitForReadyRead(2000))
    received += client->readAll();
  EXPECT_EQ(received, QByteArray("XXX\r\nExit\r\n"));
}

} // namespace
} // namespace meldlux
