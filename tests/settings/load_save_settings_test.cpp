// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/event_log.h"
#include "base/failure.h"
#include "settings/load_settings.h"
#include "settings/save_settings.h"
#include "settings/setting_keys.h"
#include "settings/settings_store.h"
#include "state/options.h"
#include "tables/status_tables.h"

#include "fake_popup_appearance.h"
#include "support/config_home.h"
#include "support/signal_recorder.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <tuple>
#ifndef Q_OS_WIN
#include <sys/inotify.h>
#include <unistd.h>
#endif

using namespace meldlux;

namespace {

const QString kOwn = QString::fromLatin1(SettingsStore::kApplication);

// One program's worth of settings objects on the store of the current XDG_CONFIG_HOME.
struct Program {
  SettingsStore store;
  Options options;
  StatusTables tables;
  FakePopupAppearance popup;
  EventLog log;
  LoadSettings load{store, options, tables, popup};
  SaveSettings save{store, options, tables, popup, log};
};

using Values = std::map<QString, QString>;

// "key=value" lines as a map.
Values valuesOf(const QStringList& lines) {
  Values values;
  for (const QString& line : lines)
    values[line.section(u'=', 0, 0)] = line.section(u'=', 1);
  return values;
}

// Our store holding the given keys, grouped the way they belong, in load order.
void writeOwn(const ConfigHome& home, const QStringList& lines) {
  const Values values = valuesOf(lines);
  QByteArray out;
  for (const char* section : {"Server", "Einstellungen", "Sounds"}) {
    out += QByteArray("[") + section + "]\n";
    for (const SettingKey& key : SettingKeys::loadOrder()) {
      const auto it = values.find(key.nameText());
      if (QByteArray(key.section) == section && it != values.end())
        out += QByteArray(key.name) + "=" + it->second.toUtf8() + "\n";
    }
  }
  home.writeFile(kOwn, out);
}

// A program started on a store that holds the given keys: the store is written before the
// program's objects are made.
struct Stored {
  explicit Stored(const QStringList& lines) { writeOwn(home, lines); }
  ConfigHome home;
};
struct StartedOn : Stored, Program {
  explicit StartedOn(const QStringList& lines) : Stored(lines) {}
};

void expectLines(const QStringList& lines, std::initializer_list<const char*> expected) {
  for (const char* line : expected)
    EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
}

} // namespace

TEST(LoadSettings, FirstStartLoadsEveryDefaultAndSavesItInOrderInItsValueForm) {
  ConfigHome home;
  QTemporaryDir logDir;
  EventLog log(logDir.filePath(QStringLiteral("events.log")));
  Program p;
  p.load.all();
  EXPECT_FALSE(home.exists(kOwn)); // loading writes nothing
  // What the saved file cannot show.
  EXPECT_EQ(p.popup.fontCalls, 1);
  EXPECT_EQ(p.options.sampleForeColor(), 16777215);
  EXPECT_TRUE(p.options.checked(Check::chkSysTray));
  EXPECT_EQ(p.load.formVisibleText(), u"1");
  EXPECT_FALSE(p.load.mainWindowStartsHidden(0));
  // The built-in colours and codes of the first server product, and the program's own two.
  for (const auto& [status, colour] :
       {std::pair{3, 65535}, {15, 8454143}, {16, 255}, {17, 255}, {18, 16777215}})
    EXPECT_EQ(p.tables.colour(status), colour) << status;
  EXPECT_EQ(p.tables.orgCode(6), u"FW");
  EXPECT_EQ(p.tables.orgCode(15), u"FERNW");

  SaveSettings(p.store, p.options, p.tables, p.popup, log)(false); // everything else
  QFile logFile(logDir.filePath(QStringLiteral("events.log")));
  ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
  EXPECT_EQ(logFile.readAll(), QByteArray("saved\n"));
  // Sections in the order their first key is saved; within each, the keys in save order. The
  // registry keeps no order: there only the set of them.
  const QStringList lines = home.lines(kOwn);
  QStringList sections, keys, expected;
  for (const QString& line : lines)
    (line.startsWith(u'[') ? sections : keys).append(line.section(u'=', 0, 0));
  for (const char* section : {"Server", "Einstellungen", "Sounds"})
    for (const char* name : SettingKeys::saveOrder())
      if (QByteArray(SettingKeys::byName(QString::fromLatin1(name)).section) == section)
        expected.append(QString::fromLatin1(name));
  QStringList wanted{"[Server]", "[Einstellungen]", "[Sounds]"};
  if (!ConfigHome::kIsFile)
    for (QStringList* list : {&sections, &keys, &expected, &wanted})
      list->sort();
  EXPECT_EQ(sections, wanted);
  EXPECT_EQ(keys, expected);
  if (ConfigHome::kIsFile) {
    EXPECT_EQ(keys.mid(0, 4), (QStringList{"Adresse", "Port", "PW", "Keepalive"}));
  }
  EXPECT_TRUE(lines.contains(u"MsgLogOnly=000;001;002;003;004;005;006;007;008;009;015;106;110"));
  expectLines(lines, {"Adresse=127.0.0.1", "Port=7778",         "PW=",
                      "AutoConnect=0",     "Keepalive=300",     "PWChar=",
                      "MsgAktiv=1",        "MsgVorne=1",        "UnbekFMS=1",
                      "UnbekFME=1",        "HideRIC=0",         "ReClickHide=1",
                      "ReClickHideSec=20", "MsgTime=30",        "MsgLines=1",
                      "MsgBreite=100",     "MsgLinks=0",        "MsgPosition=0",
                      "AnzSW=1",           "AnzES=1",           "Alarm=0",
                      "StatusFzg=0",       "FMSText=0",         "SA=0",
                      "AlarmFile=",        "StatusFzgFile=",    "FMSTextFile=",
                      "SAFile=",           "SAKennung=",        "MsgFontName=Arial",
                      "MsgFontSize=10",    "MsgFontBold=False", "MsgFontItalic=False",
                      "MsgBackColor=0",    "FormInTray=1",      "UnterdrueckenSek=60",
                      "FarbeFME=255",      "FarbeDME=255",      "FormVisible=0"});
}

TEST(LoadSettings, GarbageAndOutOfRangeTextsFollowTheirRulesOrTheDefault) {
  StartedOn p({"FarbeFME=12abc", "FarbeDME=rot", "MsgAktiv=0.4", "HideRIC= 2.6 Haken",
               "MsgBreite=12,5", "MsgLinks=links", "MsgFontSize=12.5", "MsgFontBold=0",
               "MsgFontItalic=-1", "MsgBackColor=blau", "FormInTray=x", "UnterdrueckenSek=90s",
               "MsgLines=50", "MsgTime=-5", "Keepalive=10"});
  p.load.all();
  EXPECT_EQ(p.tables.colour(16), 12);
  EXPECT_EQ(p.tables.colour(17), 0);
  EXPECT_FALSE(p.options.checked(Check::chkMsgAktiv)); // 0.4 rounds to 0
  EXPECT_TRUE(p.options.checked(Check::chkHideRIC));
  EXPECT_EQ(p.options.text(Text::txtMsgBreite), u"12"); // the comma ends the number
  EXPECT_FLOAT_EQ(p.options.PopupWidthPercent, 12.0f);
  EXPECT_EQ(p.options.text(Text::txtMsgLinks), u"0");
  EXPECT_DOUBLE_EQ(p.popup.font().size, 12.5);
  EXPECT_FALSE(p.popup.font().bold);
  EXPECT_TRUE(p.popup.font().italic);
  EXPECT_EQ(p.popup.backColor(), 0);
  EXPECT_FALSE(p.options.InTray);
  EXPECT_FALSE(p.options.checked(Check::chkSysTray));
  EXPECT_EQ(p.options.SuppressSeconds, 90);
  // Loading runs the boxes' rules; only leaving the keepalive box corrects it.
  EXPECT_EQ(p.options.text(Text::txtMsgLines), u"30");
  EXPECT_EQ(p.options.text(Text::txtMsgTime), u"0");
  EXPECT_EQ(p.options.text(Text::txtKeepalive), u"10");
}

TEST(LoadSettings, CheckBoxesTakeTheStoredNumberAndSaveItsText) {
  struct Case {
    const char* key;
    Check box;
    const char* stored;
    bool ticked;
    const char* saved;
  };
  const Case cases[] = {{"HideRIC", Check::chkHideRIC, "2", true, "2"},
                        {"MsgAktiv", Check::chkMsgAktiv, "2", true, "2"},
                        {"Alarm", Check::chkSndAlarm, " 2 Haken", true, "2"},
                        {"StatusFzg", Check::chkSndFzg, "1.5", true, "2"},
                        {"FMSText", Check::chkSndText, "\t2", true, "2"},
                        {"SA", Check::chkSndSA, "0.4", false, "0"},
                        {"AnzSW", Check::chkSW, "1", true, "1"},
                        {"AnzES", Check::chkES, "0", false, "0"}};
  QStringList stored;
  for (const Case& c : cases)
    stored << QString::fromLatin1(c.key) + u'=' + QString::fromLatin1(c.stored);
  StartedOn p(stored);
  p.load.all();
  for (const Case& c : cases)
    EXPECT_EQ(p.options.checked(c.box), c.ticked) << c.key;
  p.save(true);
  const QStringList lines = p.home.lines(kOwn);
  for (const Case& c : cases)
    EXPECT_TRUE(lines.contains(QString::fromLatin1(c.key) + u'=' + QString::fromLatin1(c.saved)))
        << c.key;
}

TEST(LoadSettings, StoredMsgTimeAndMsgLinesAreClampedByTheirRules) {
  for (const auto& [lines, time, shownLines, shownTime] : {std::tuple{"0", "70", "1", "65"},
                                                           {"31", "65.5", "30", "65"},
                                                           {"30", "65", "30", "65"},
                                                           {"x", "-0.5", "1", "0"}}) {
    StartedOn p({QStringLiteral("MsgLines=") + lines, QStringLiteral("MsgTime=") + time});
    p.load.all();
    EXPECT_EQ(p.options.text(Text::txtMsgLines), QString::fromLatin1(shownLines)) << lines;
    EXPECT_EQ(p.options.text(Text::txtMsgTime), QString::fromLatin1(shownTime)) << time;
  }
}

TEST(LoadSettings, FontKeysAreTakenAsTheyConvert) {
  // Any size that reads as a number is the popup's size; the labels draw it within what a
  // screen font can show.
  const std::pair<const char*, double> sizes[] = {
      {"0", 0}, {"-4", -4}, {"3000", 3000}, {" 7,5 ", 7.5}, {"1e3", 1000}};
  for (const auto& [stored, size] : sizes) {
    StartedOn p({QStringLiteral("MsgFontSize=") + stored, "MsgFontBold=-1", "MsgFontItalic=7"});
    p.load.popupAppearance();
    EXPECT_DOUBLE_EQ(p.popup.font().size, size) << stored;
    EXPECT_TRUE(p.popup.font().bold);
    EXPECT_TRUE(p.popup.font().italic);
  }
  // A text that is no number or no Boolean cannot be converted: loading ends there, as with any
  // other value the program cannot take.
  for (const char* keys : {"MsgFontSize=riesig", "MsgFontSize=", "MsgFontBold=ja",
                           "MsgFontItalic=vielleicht", "MsgFontSize=1e39"}) {
    StartedOn p({QString::fromLatin1(keys), "MsgFontName=Verdana", "MsgBackColor=255"});
    EXPECT_THROW(p.load.popupAppearance(), Failure) << keys;
    EXPECT_EQ(p.popup.fontCalls, 0) << keys; // neither the font nor the keys after it
    EXPECT_EQ(p.popup.backCalls, 0) << keys;
  }
}

TEST(LoadSettings, MsgPositionOneIsBottomAnythingElseTop) {
  for (const auto& [stored, element] :
       std::map<QString, int>{{"1", 1}, {"2", 0}, {"0", 0}, {"unten", 0}, {"1.0", 1}}) {
    StartedOn p({"MsgPosition=" + stored});
    p.options.OptPosition_Click(1 - element); // start from the other one
    p.load.all();
    EXPECT_EQ(p.options.selectedPosition(), element) << stored.toStdString();
    EXPECT_EQ(p.options.PopupPosition, element) << stored.toStdString();
  }
}

TEST(LoadSettings, ADifferentValueRunsTheControlsRuleAnEqualOneDoesNot) {
  StartedOn p({"AutoConnect=1", "MsgAktiv=1", "AnzSW=0"});
  SignalRecorder<Check> clicked(&p.options, &Options::clicked);
  p.load.connectionPopupAndSounds();
  EXPECT_EQ(clicked.values, (std::vector<Check>{Check::chkAuto, Check::chkSW}));
  EXPECT_TRUE(p.options.checked(Check::chkAuto));
  EXPECT_FALSE(p.options.checked(Check::chkSW));
}

TEST(LoadSettings, BooleanAndSizeTextsAreReadInEveryFormWeOrOthersWrite) {
  // "Wahr" and "Falsch": a store written on a German Windows.
  const std::pair<const char*, bool> forms[] = {
      {"True", true},    {"false", false}, {"TRUE", true},     {"0", false},
      {"1", true},       {" 2 ", true},    {"0.0", false},     {"Wahr", true},
      {"Falsch", false}, {"wAHR", true},   {" FALSCH ", false}};
  for (const auto& [bold, expected] : forms) {
    StartedOn p({QStringLiteral("MsgFontBold=") + bold, "MsgFontSize=10,5"});
    p.load.popupAppearance();
    EXPECT_EQ(p.popup.font().bold, expected) << bold;
    EXPECT_DOUBLE_EQ(p.popup.font().size, 10.5);
  }
}

TEST(LoadSettings, ANumberThatDoesNotFitEndsLoadingThere) {
  StartedOn p({"MsgFontName=Verdana", "MsgBackColor=99999999999", "FormInTray=0"});
  p.load.connectionPopupAndSounds();
  EXPECT_THROW(p.load.popupAppearance(), Failure);
  EXPECT_EQ(p.popup.font().name, u"Verdana"); // the keys before it took effect
  EXPECT_TRUE(p.options.InTray);              // the ones after it were not read
}

TEST(LoadSettings, FirstServerProductsKeysAreReadAndNeverWritten) {
  ConfigHome home;
  const QByteArray foreign = "[Statusfarben]\n3=16711680\n4=12abc\n5=gelb\n"
                             "[BOS-Kennung]\n6= Feuerwehr \n0=\n";
  home.writeFile(QString::fromLatin1(SettingsStore::kZentrix), foreign);
  Program p;
  p.load.statusColours();
  p.load.organisationCodes();
  for (const auto& [status, colour] : {std::pair{3, 16711680}, {4, 12}, {5, 0}, {6, 8421504}})
    EXPECT_EQ(p.tables.colour(status), colour) << status; // 6 is absent: built-in
  EXPECT_EQ(p.tables.orgCode(6), u" Feuerwehr ");
  EXPECT_EQ(p.tables.orgCode(0), u"");
  EXPECT_EQ(p.tables.orgCode(1), u"POL");
  p.save(true);
  EXPECT_FALSE(home.readFile(kOwn).contains("Statusfarben"));
  EXPECT_FALSE(home.readFile(kOwn).contains("BOS-Kennung"));
}

TEST(SaveSettings, SaveThenLoadReproducesEveryKeyByteForByte) {
  ConfigHome home;
  const QStringList stored =
      QString::fromUtf8(
          "FarbeFME=65280\nFarbeDME=16711680\nAdresse= leitstelle.example \nPort=17778\n"
          "PW=p;a=s s#w\"o'r\\d ä\nAutoConnect=1\nKeepalive=120\nMsgLogOnly=000;001;002\n"
          "MsgTime=12\nMsgLines=7\nMsgAktiv=0\nMsgVorne=0\nHideRIC=1\nReClickHide=0\n"
          "ReClickHideSec=45\nMsgBreite=12.5\nMsgLinks=33.3\nMsgPosition=1\nUnbekFME=0\n"
          "UnbekFMS=0\nAnzSW=0\nAnzES=0\nAlarm=1\nStatusFzg=1\nFMSText=1\nSA=1\n"
          "AlarmFile=C:\\Sounds\\Alarm neu.wav\nStatusFzgFile=  ../sounds/fzg;1.wav  \n"
          "FMSTextFile=Töne\\Text, lang.wav\nSAFile==sa=.wav\nSAKennung=6 1 23 456\n"
          "PWChar=*\nMsgFontName=Times New Roman\nMsgFontSize=10.5\nMsgFontBold=True\n"
          "MsgFontItalic=True\nMsgBackColor=16777215\nFormInTray=0\nUnterdrueckenSek=-3\n"
          "FormVisible=1")
          .split(u'\n');
  const Values values = valuesOf(stored);
  ASSERT_EQ(values.size(), SettingKeys::kCount);
  writeOwn(home, stored);
  {
    Program first;
    first.load.all();
    first.save(true);
  }
  Program second; // reads what the first one wrote
  for (const SettingKey& key : SettingKeys::loadOrder())
    EXPECT_EQ(second.store.read(kOwn, key.sectionText(), key.nameText(), QStringLiteral("<none>")),
              values.at(key.nameText()))
        << key.name;
  second.load.all();
  EXPECT_EQ(second.options.text(Text::txtSndFzg), u"  ../sounds/fzg;1.wav  ");
  EXPECT_EQ(second.popup.font().name, u"Times New Roman");
  // The background also sets the colour sample, with a text readable on it.
  EXPECT_EQ(second.options.sampleBackColor(), 16777215);
  EXPECT_EQ(second.options.sampleForeColor(), 0);
}

#ifndef Q_OS_WIN
// How often a file in the folder was replaced while save ran: each replacement renames a
// temporary file of its own onto it (counted by those names, as the kernel merges repeated
// identical events).
int replacementsDuring(const QString& folder, const QString& name,
                       const std::function<void()>& save) {
  const int fd = ::inotify_init1(IN_NONBLOCK);
  EXPECT_GE(fd, 0);
  EXPECT_GE(::inotify_add_watch(fd, folder.toLocal8Bit().constData(), IN_MOVED_FROM), 0);
  save();
  int count = 0;
  alignas(inotify_event) char buffer[64 * 1024];
  for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
    for (char* at = buffer; at < buffer + got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(at);
      if (event->len > 0 && QString::fromLocal8Bit(event->name).startsWith(name + u'.'))
        ++count;
      at += sizeof(inotify_event) + event->len;
    }
  ::close(fd);
  return count;
}

#endif

// A save writes the file once, with the bytes that writing the keys one by one gives: on a
// first start and over a hand-made store with foreign keys, sections and another order.
TEST(SaveSettings, OneReplacementWithTheBytesOfKeyByKeyWriting) {
#ifdef Q_OS_WIN
  GTEST_SKIP() << "the store is the registry on Windows: no file is replaced, and inotify, which "
                  "counts the replacements, is Linux's";
#else
  for (const QByteArray& before :
       {QByteArray(), QByteArray("; eigene Notiz\n[Sounds]\nSA=1\n[Fremd]\nX=1\n[Einstellungen]\n"
                                 "Unbekannt=7\nMsgTime=5\n[Server]\nPort=1\n")}) {
    SCOPED_TRACE(before.constData());
    ConfigHome home;
    QDir().mkpath(QFileInfo(home.path(kOwn)).absolutePath());
    if (!before.isEmpty())
      home.writeFile(kOwn, before);
    Program p;
    p.load.all();
    p.options.setText(Text::txtSrv, QStringLiteral("10.0.0.1"));

    QTemporaryDir other;
    SettingsStore reference(other.path());
    if (!before.isEmpty()) {
      QFile copy(reference.filePath(kOwn));
      ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
      copy.write(before);
    }
    for (const char* name : SettingKeys::saveOrder()) {
      const SettingKey& key = SettingKeys::byName(QString::fromLatin1(name));
      reference.write(kOwn, key.sectionText(), key.nameText(), p.save.textOf(key, true));
    }

    const QFileInfo file(home.path(kOwn));
    // A file that is not there yet is written in place, without a replacement.
    EXPECT_EQ(replacementsDuring(file.absolutePath(), file.fileName(), [&] { p.save(true); }),
              before.isEmpty() ? 0 : 1);
    QFile expected(reference.filePath(kOwn));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(home.readFile(kOwn), expected.readAll());
  }
#endif
}

TEST(SaveSettings, TakesTheRuntimeValuesAndTheWindowsVisibility) {
  ConfigHome home;
  Program p;
  p.load.all();
  p.tables.colour(16) = 33023; // as a colour list of the second server product may set it
  p.options.setText(Text::txtMsgBreite, QStringLiteral("12,5"));
  p.options.setChecked(Check::chkSysTray, false);
  p.options.OptPosition_Click(1);
  p.options.txtPW_DblClick();
  p.popup.applyFont(PopupFont{QStringLiteral("Courier"), 9.75, true, false});
  p.save(true);
  expectLines(home.lines(kOwn),
              {"FarbeFME=33023", "MsgBreite=12.5", "FormInTray=0", "MsgPosition=1", "PWChar=*",
               "MsgFontName=Courier", "MsgFontSize=9.75", "MsgFontBold=True", "FormVisible=1"});
}
