// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "journal/journal_reader.h"
#include "support/config_home.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

// Plays the shipped sounds only: a file named by the user is never there.
struct ShippedOnlyPlayer final : SoundPlayer {
  bool play(const QString& file) override { return (played << file).last().contains(u"/sounds/"); }
  QStringList played;
};

// The whole program, headless, its journal in a folder of its own, popup messages on or off.
struct Program {
  explicit Program(bool messages) {
    home.writeFile(QString::fromLatin1(SettingsStore::kApplication),
                   "[Einstellungen]\nMsgAktiv=" + QByteArray(messages ? "1" : "0") +
                       "\n[Sounds]\nAlarm=1\nAlarmFile=kaputt.wav\n[Journal]\nFolder=" +
                       journalDir.path().toUtf8() + "\n");
    DisplayPorts ports;
    ports.sound.reset(sound = new ShippedOnlyPlayer);
    ports.trayShell.reset(shell = new HeadlessTrayShell);
    app = std::make_unique<Application>(std::make_unique<ManualClock>(),
                                        std::make_unique<EventLog>(), std::move(ports));
  }
  // The watch's entries in the journal, oldest first, as "kind text".
  QString journaled() {
    app->journal()->flush();
    JournalFilter ours;
    ours.kinds = {kJournalSupervision};
    QStringList texts;
    for (const JournalEntry& e : JournalReader(app->journalPath()).page(ours, 20))
      texts.prepend(e.identifier + u' ' + e.message);
    return texts.join(u'\n');
  }
  bool shows(const QString& text) const {
    for (int i = 0; i < MessageList::kSize; ++i)
      if (app->popupModel().messages()[i].Text == text)
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
    EXPECT_TRUE(p.app->statusLabel().caption().contains(u"Empfangen: 1"));
    EXPECT_EQ(p.shell->state().tip(), warning) << "a lasting warning keeps the tip";

    p.app->warnings().report(
        {WatchKind::Link, WatchPhase::Recovery, "link", QStringLiteral("Verbindung wieder da")});
    EXPECT_NE(p.shell->state().icon(), NotifyIconData::kOfflineIcon);
    EXPECT_EQ(p.journaled(), "link " + warning + "\nfault " + fault + "\nlink Verbindung wieder da");
  }
}

} // namespace
} // namespace meldlux
