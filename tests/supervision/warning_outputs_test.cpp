// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "journal/journal_reader.h"
#include "support/config_home.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

// Plays nothing but the shipped sounds: a file named by the user is never there.
class ShippedOnlyPlayer final : public SoundPlayer {
public:
  bool play(const QString& file) override {
    played.append(file);
    return file.contains(u"/sounds/");
  }
  QStringList played;
};

// The whole program, headless, with its journal in a folder of its own and the popup messages
// on or off.
struct Program {
  explicit Program(bool messages) {
    home.writeFile(QString::fromLatin1(SettingsStore::kApplication),
                   "[Einstellungen]\nMsgAktiv=" + QByteArray(messages ? "1" : "0") +
                       "\n[Sounds]\nAlarm=1\nAlarmFile=kaputt.wav\n[Journal]\nFolder=" +
                       journalDir.path().toUtf8() + "\n");
    DisplayPorts ports;
    auto player = std::make_unique<ShippedOnlyPlayer>();
    sound = player.get();
    ports.sound = std::move(player);
    auto tray = std::make_unique<HeadlessTrayShell>();
    shell = tray.get();
    ports.trayShell = std::move(tray);
    app = std::make_unique<Application>(std::make_unique<ManualClock>(),
                                        std::make_unique<EventLog>(), std::move(ports));
  }
  QStringList journaled() {
    app->journal()->flush();
    JournalFilter ours;
    ours.kinds = {kJournalSupervision};
    QStringList texts;
    for (const JournalEntry& e : JournalReader(app->journalPath()).page(ours, 20))
      texts.prepend(e.identifier + u' ' + e.message);
    return texts;
  }
  bool shows(const QString& text) const {
    const MessageList& list = app->popupModel().messages();
    for (int i = 0; i < MessageList::kSize; ++i)
      if (list[i].Text == text)
        return true;
    return false;
  }

  ConfigHome home;
  QTemporaryDir journalDir;
  ShippedOnlyPlayer* sound = nullptr;
  HeadlessTrayShell* shell = nullptr;
  std::unique_ptr<Application> app;
};

// The strip's line follows the popup messages' box; the sound, the tray and the journal do not.
// A sound file that cannot be played is told there too, never in the status label.
TEST(WarningOutputs, SoundTrayAndJournalWhateverThePopupMessages) {
  for (const bool messages : {true, false}) {
    SCOPED_TRACE(messages ? "messages on" : "messages off");
    Program p(messages);
    ASSERT_TRUE(p.app->Form_Load({}));
    const QString warning = QStringLiteral("Keine Verbindung zum Server seit 12:00:00");
    p.app->warnings().report({WatchKind::Link, WatchPhase::Warning, "link", warning});
    EXPECT_TRUE(p.sound->played.last().endsWith(u"/sounds/stoerung.wav"));
    EXPECT_EQ(p.shell->state().tip(), warning);
    EXPECT_EQ(p.shell->state().icon(), NotifyIconData::kOfflineIcon);
    EXPECT_EQ(p.shows(warning), messages);

    p.app->linkState().ConnectedSince = p.app->clock().now() - 1; // past the quiet start
    p.app->receiver().Winsock2_DataArrival(QStringLiteral("POC\t1234567\tA\tProbe\r\n"));
    const QString fault = QStringLiteral("Tondatei \u201Ekaputt.wav\u201C nicht abspielbar, "
                                         "Standardton gespielt");
    EXPECT_EQ(p.shows(fault), messages);
    EXPECT_TRUE(p.app->statusLabel().caption().contains(u"Empfangen: 1"))
        << p.app->statusLabel().caption().toStdString();
    EXPECT_EQ(p.shell->state().tip(), warning) << "a lasting warning keeps the tip";

    p.app->warnings().report(
        {WatchKind::Link, WatchPhase::Recovery, "link", QStringLiteral("Verbindung wieder da")});
    EXPECT_NE(p.shell->state().icon(), NotifyIconData::kOfflineIcon);
    EXPECT_EQ(p.journaled().join(u'\n').toStdString(),
              (QStringList{QStringLiteral("link ") + warning, QStringLiteral("fault ") + fault,
                           QStringLiteral("link Verbindung wieder da")})
                  .join(u'\n')
                  .toStdString());
  }
}

// A damaged settings file is moved aside before start-up reads it; start-up then says so.
TEST(WarningOutputs, ADamagedSettingsFileIsToldWhereItWent) {
  Program p(true);
  QByteArray damaged = p.home.readFile(QString::fromLatin1(SettingsStore::kApplication));
  damaged.append("\0\0\0", 3);
  p.home.writeFile(QString::fromLatin1(SettingsStore::kApplication), damaged);
  p.app->setAsideDamagedSettings();
  ASSERT_TRUE(p.app->Form_Load({}));
  const QString told = p.journaled().join(u'\n');
  EXPECT_TRUE(told.startsWith(u"fault Einstellungen beschädigt, Vorgaben gelten; die alte Datei: "))
      << told.toStdString();
  EXPECT_TRUE(QFile::exists(told.section(u' ', -1))) << told.toStdString();
}

} // namespace
} // namespace meldlux
