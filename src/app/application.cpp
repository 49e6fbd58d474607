// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "app/command_line.h"
#include "app/journal_settings.h"
#include "app/link_settings.h"
#include "app/load_fault_journal.h"
#include "app/load_reference_data.h"
#include "app/shipped_sounds.h"
#include "app/startup_hold.h"
#include "base/failure.h"
#include "refdata/loader_environment.h"
#include "refdata/reference_files.h"
#include "refdata/user_lists_loader.h"
#include "tables/builtin_tables.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace meldlux {

namespace {

class SilentSoundPlayer final : public SoundPlayer {
public:
  bool play(const QString&) override { return true; }
};

class NoMessageBoxes final : public MessageBoxes {
public:
  void show(const QString&, const QString&, Icon) override {}
};

DisplayPorts withStandIns(DisplayPorts ports, const Clock& clock) {
  if (!ports.sound)
    ports.sound = std::make_unique<SilentSoundPlayer>();
  // Speech waits until the sound playing has ended.
  ports.sound = std::make_unique<TimedSoundPlayer>(std::move(ports.sound), clock);
  if (!ports.boxes)
    ports.boxes = std::make_unique<NoMessageBoxes>();
  if (!ports.screen)
    ports.screen = std::make_unique<FixedScreen>();
  if (!ports.metrics)
    ports.metrics = std::make_unique<FixedTextMetrics>();
  if (!ports.foreground)
    ports.foreground = std::make_unique<NoForeground>();
  if (!ports.dialog)
    ports.dialog = std::make_unique<NoFontColourDialog>();
  if (!ports.trayShell)
    ports.trayShell = std::make_unique<HeadlessTrayShell>();
  return ports;
}

// The loaders' boxes during start-up. The program may be unloaded while one is open (a signal,
// a log-out); start-up ends at that box, through its trap, instead of loading on.
class StartupBoxes final : public MessageBoxes {
public:
  StartupBoxes(MessageBoxes& boxes, const bool& unloaded) : boxes_(boxes), unloaded_(unloaded) {}
  void show(const QString& title, const QString& text, Icon icon) override {
    boxes_.show(title, text, icon);
    if (unloaded_)
      throw Failure(QStringLiteral("Programm beendet"));
  }

private:
  MessageBoxes& boxes_;
  const bool& unloaded_;
};

// The program's executable name without path and extension: the tray's first tip.
QString executableName() {
  if (!QCoreApplication::instance())
    return QStringLiteral("meldlux");
  return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}
} // namespace

Application::Application(std::unique_ptr<Clock> clock, std::unique_ptr<EventLog> log,
                         QObject* parent)
    : Application(std::move(clock), std::move(log), DisplayPorts{}, parent) {}

Application::Application(std::unique_ptr<Clock> clock, std::unique_ptr<EventLog> log,
                         DisplayPorts display, QObject* parent)
    : QObject(parent), clock_(std::move(clock)), log_(std::move(log)), statusLabel_(*log_),
      indicators_(*log_), display_(withStandIns(std::move(display), *clock_)),
      timedSound_(static_cast<TimedSoundPlayer*>(display_.sound.get())),
      popup_(options_, *clock_, linkState_, replacements_, indicators_, *log_,
             PopupPorts{*display_.screen, *display_.metrics, *display_.foreground}),
      cleanup_(popup_, linkState_, *clock_), popupRules_(options_, popup_, cleanup_),
      choosers_(*display_.dialog, popup_, options_),
      loadSettings_(settingsStore_, options_, statusTables_, popup_),
      saveSettings_(settingsStore_, options_, statusTables_, popup_, *log_),
      saveSoon_(saveSettings_, [this] { return mainWindow_ && mainWindow_->isVisible(); }),
      link_(options_, linkState_, statusLabel_, *clock_, *log_),
      receiver_(*clock_, linkState_, statusLabel_, options_, indicators_,
                reference_.followUpPlaces),
      trayTip_(*log_), steps_(*clock_, linkState_, options_, statusLabel_, trayTip_),
      sounds_(options_, *clock_, linkState_, *log_, *display_.sound,
              AlertSounds::Shipped{shippedSoundFolder(),
                                   [this](const QString& text) { warnings_.fault(text); }}),
      board_(*clock_, statusTables_, reference_.vehicles, *log_),
      monitor_(*clock_, *log_, board_),
      handlers_(HandlerContext{options_, *clock_, statusTables_, reference_, places_, popup_,
                               indicators_, steps_, sounds_, &testMark_}),
      station_({options_, *clock_, *log_, handlers_, reference_, statusTables_, *timedSound_,
                &testMark_},
               std::move(display_.voice)),
      tray_(*display_.trayShell, *log_, lockMode_),
      warnings_(popup_, sounds_, journalRelay_, *log_, *clock_,
                [this] { return watch_.settings().soundFile; },
                [this](const QString& warning) { tray_.setWarning(warning); },
                [this](const QString& text) {
                  tray_.setTooltip(text);
                  tray_.MeModify();
                }),
      watch_(*clock_, linkState_, watchTicker_, warnings_) {
  connect(&link_, &ConnectionManager::blockReceived, &receiver_, &Receiver::Winsock2_DataArrival);
  // The watch sees each telegram's sender first, then the rules' check hands it to the handlers.
  receiver_.setHandlers(&watchedHandlers_);
  receiver_.setHeartbeatObserver([this](QStringView line) { watch_.heartbeat(line); });
  connect(&link_, &ConnectionManager::linkUp, this, [this] { watch_.linkUp(); });
  connect(&link_, &ConnectionManager::linkDown, this,
          [this](bool askedFor) { watch_.linkDown(askedFor); });
  connect(&station_.rules(), &AlarmRules::monitorRequested, this,
          [this](double time, const QString& code, const QString& name, const QString& text,
                 bool test) { monitorAlarm({time, code, name, text, test}); });
  // A rule that cannot be read is told as the loaders tell a file, a voice that cannot speak as
  // the program's other faults; each once.
  connect(&station_.rules(), &AlarmRules::ruleSwitchedOff, this,
          [this](int number, const QString& why) {
            const QString note = QStringLiteral("Alarmregel %1 ausgeschaltet: %2").arg(number);
            popup_.LoaderNotice(note.arg(why), statusTables_.colour(StatusTables::kInformation));
          });
  connect(&station_.speech(), &SpeechQueue::faultNoticed, this, [this](const QString& why) {
    warnings_.fault(QStringLiteral("Sprachausgabe: ") + why);
  });
  connect(&tray_, &FrmSysTray::Click, this, &Application::FormSys_Click);
  // Qt's tray icon reports no mouse moves, so the tip would keep whatever the last click left:
  // each new summary takes the road a mouse move over the icon takes.
  connect(&trayTip_, &TrayTip::changed, this,
          [this] { FormSys_Click(QStringLiteral("MOUSEMOVE")); });
  connect(&options_, &Options::clicked, this, [this](Check box) {
    if (box == Check::chkSysTray)
      chkSysTray_Click();
  });
  hintSaveOnChanges();
}

void Application::hintSaveOnChanges() {
  const auto hint = [this] { saveSoon_.hint(); };
  connect(&options_, &Options::textChanged, this, hint);
  connect(&options_, &Options::clicked, this, hint);
  connect(&options_, &Options::positionClicked, this, hint);
  connect(&options_, &Options::passwordCharChanged, this, hint);
  connect(&options_, &Options::sampleColourChanged, this, hint);
  connect(&options_, &Options::popupWidthPercentChanged, this, hint);
  connect(&options_, &Options::popupLeftPercentChanged, this, hint);
  // The font chooser has no signal of its own; the popup's layout follows every font change.
  connect(&popup_, &PopupModel::geometryChanged, this, hint);
  connect(&popup_, &PopupModel::backColorChanged, this, hint);
}

bool Application::Form_Load(const QString& commandLineText) {
  const bool completed = runStartUp(commandLineText);
  if (!unloaded_) {
    saveSoon_.begin(!startsHidden_); // main.cpp shows the window unless start-up hid it
    watch_.setSettings(readWatchSettings(settingsStore_));
    watch_.start(options_.checked(Check::chkAuto));
  }
  return completed;
}

bool Application::runStartUp(const QString& commandLineText) {
  // The timers may be switched on by the settings and the loaders, but none acts before the
  // sequence has ended, also when a loader's box keeps it waiting.
  const StartupHold hold{&link_.timer1(), &cleanup_.TimerCleanup(), &popup_.Timer1()};
  try {
    lockMode_ = 0;
    settingsStore_.removeLeftOvers(QString::fromLatin1(SettingsStore::kApplication));
    loadSettings_.statusColours(); // Zentrix colours 0-15, FarbeFME, FarbeDME, white 18
    fillStatusTexts(statusTables_);
    loadSettings_.organisationCodes();
    reference_.followUpPlaces.preset();
    popup_.HiddenUntil = 0;
    loadSettings_.serverAddress();
    const CommandLine commandLine = parseCommandLine(commandLineText);
    lockMode_ = commandLine.LockMode;
    if (commandLine.server)
      options_.setText(Text::txtSrv, *commandLine.server);
    loadSettings_.connectionPopupAndSounds();
    popupRules_.settleInFront();
    loadSettings_.popupAppearance();
    loadSettings_.trayKeys();
    startJournal(); // before the loaders, whose failure ends the sequence
    station_.load(settingsStore_);
    link_.setCarrySplitLines(readLinkSettings(settingsStore_).carrySplitLines);

    tray_.Form_Load(executableName());
    tray_.setFSys(mainWindow_);
    tray_.setTooltip(title());
    if (!options_.InTray)
      tray_.MeHide();
    tray_.MeModify();
    if (!damagedSettings_.isEmpty())
      warnings_.fault(QStringLiteral("Einstellungen beschädigt, Lesbares übernommen; Kopie: ") +
                      damagedSettings_);
    options_.setChecked(Check::chkSysTray, options_.InTray);

    loadSettings_.formVisible();
    startsHidden_ = loadSettings_.mainWindowStartsHidden(lockMode_); // "/l" forces InTray here
    hideMainWindowWhenInTray();

    const ReferenceFiles files;
    StartupBoxes boxes(*display_.boxes, unloaded_);
    // Every loader's notice is a popup line in the information colour.
    const auto notice = [this](const QString& text) {
      popup_.LoaderNotice(text, statusTables_.colour(StatusTables::kInformation));
    };
    LoadFaultJournal faults(files, *clock_, journalRelay_, [this](const QString& line) {
      warnings_.fault(line, WarningOutputs::Journaled::Elsewhere);
    });
    const LoaderEnvironment env(files, options_, boxes, *log_, notice, &faults);
    UserListsLoader userLists(options_, notice);
    const PlaceFileLoaders placeLoaders{
        [&](const QString& path) { return userLists.LoadPlaces(places_, path); },
        [&](const QString& path) { return userLists.LoadReplacements(replacements_, path); }};
    LoadReferenceData(env, reference_, statusTables_, placeLoaders);

    startBoard();
    popupRules_.armPopup();
    hideMainWindowWhenInTray();
    linkState_.LastVehicleTelegram = clock_->now();
    return true;
  } catch (const Failure&) {
    return false;
  }
}

Application::~Application() = default;

void Application::keepDamagedSettings() {
  damagedSettings_ = settingsStore_.keepCopyIfDamaged(
      QString::fromLatin1(SettingsStore::kApplication), fromOleDate(clock_->now()));
}

JournalSettings Application::journalSettings() const { return readJournalSettings(settingsStore_); }

void Application::setJournalSettings(bool enabled, int retentionDays, const QString& folder) {
  writeJournalSettings(settingsStore_, enabled, retentionDays, folder);
  journalRelay_.setTarget(nullptr);
  journal_.reset(); // commits what waits to the old file
  startJournal();
  Q_EMIT journalFileChanged(journalPath());
}

void Application::setWatchSettings(const WatchSettings& settings) {
  writeWatchSettings(settingsStore_, settings);
  watch_.setSettings(settings);
}

QString Application::journalPath() const {
  return journal_ ? journal_->path() : journalSettings().path();
}

void Application::startJournal() {
  const JournalSettings settings = readJournalSettings(settingsStore_);
  if (!settings.enabled)
    return;
  // A failure lasts on the strip, the tip and in the journal (whose lines wait in memory) until
  // writing works again; the event log keeps every failure and the recovery.
  journal_ = std::make_unique<JournalWriter>(
      *clock_, *log_, JournalWriter::Settings{settings.path(), settings.retentionDays,
                                          settings.retrySeconds * 1000},
      [this](const QString& text) { warnings_.faultBegins(QStringLiteral("journal"), text); });
  connect(journal_.get(), &JournalWriter::recoveredFromFailure, this, [this] {
    warnings_.faultOver(QStringLiteral("journal"), QStringLiteral("Journal schreibt wieder"));
  });
  journalRelay_.setTarget(journal_.get());
  connect(journal_.get(), &JournalWriter::written, this, &Application::journalWritten);
  connect(journal_.get(), &JournalWriter::fileReplaced, this,
          [this] { Q_EMIT journalFileChanged(journal_->path()); });
}

void Application::startBoard() {
  board_.loadVehicles(); // the table and the status texts are complete now
  const MonitorSettings monitor = monitorSettings();
  monitor_.setVehicles(monitor.vehicles);
  monitor_.setIdleMinutes(monitor.idleMinutes);
  if (!journal_)
    return;
  if (const QString error = board_.restore(journal_->path()); !error.isEmpty())
    log_->write(u"board", {QStringLiteral("failed"), error});
}

void Application::hideMainWindowWhenInTray() {
  if (startsHidden_ && mainWindow_)
    mainWindow_->hide();
}

void Application::chkSysTray_Click() {
  if (options_.checked(Check::chkSysTray))
    tray_.MeShow();
  else
    tray_.MeHide(); // InTray follows the box itself (Options)
}

void Application::FormSys_Click(const QString& ClickWhat) {
  tray_.setTooltip(trayTip_.TrayTipText());
  tray_.MeModify();
  popup_.TrayClick(ClickWhat);
}

void Application::showMainWindowOnRequest() {
  tray_.mRestore_Click(); // as the tray menu's "Wiederherstellen": nothing under a lock
  if (lockMode_ == 0 && mainWindow_)
    mainWindow_->bringToForeground();
}

void Application::Form_Resize() {
  saveSoon_.hint(); // FormVisible follows the window
  if (mainWindow_) {
    const OwnerWindow::State state = mainWindow_->windowState();
    if (state == OwnerWindow::State::Minimized && options_.checked(Check::chkSysTray))
      mainWindow_->hide(); // it lives on as the tray icon
    else if (state == OwnerWindow::State::Normal)
      mainWindow_->show();
  }
  tray_.FSys_Resize();
}

void Application::Form_Unload(bool mainWindowVisible) {
  unloaded_ = true;
  watch_.stop(); // the end of the program is no loss of the link
  saveSoon_.end();
  saveSettingsAtExit(mainWindowVisible);
  if (options_.InTray)
    tray_.MeHide();
  tray_.FSys_Unload(); // the tray's own farewell; whichever runs first removes the icon
  if (journal_)
    journal_->flush();
  link_.Shutdown();
  Q_EMIT unloaded();
}

void Application::saveNow() {
  saveSoon_.now();
  if (journal_)
    journal_->flush();
}

QString Application::caption() { return title() + u' ' + QStringLiteral(MELDLUX_VERSION); }

bool Application::loadSettingsAtStart() {
  try {
    loadSettings_.all();
    return true;
  } catch (const Failure&) {
    return false; // what was read so far stays
  }
}

void Application::saveSettingsAtExit(bool mainWindowVisible) {
  if (settingsSaved_)
    return;
  settingsSaved_ = true;
  saveSettings_(mainWindowVisible);
}

} // namespace meldlux
