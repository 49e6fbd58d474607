#include "app/status_tables.h"
#include "base/event_log.h"
#include "base/failure.h"
#include "settings/load_settings.h"
#include "settings/options.h"
#include "settings/save_settings.h"
#include "settings/setting_keys.h"
#include "settings/settings_store.h"

#include "config_home.h"
#include "fake_popup_appearance.h"
#include "signal_recorder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

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

QByteArray iniOf(const std::map<std::string, std::string>& values) {
  // Grouped the way the keys belong, in load order.
  QByteArray out;
  for (const char* section : {"Server", "Einstellungen", "Sounds"}) {
    out += QByteArray("[") + section + "]\n";
    for (const SettingKey& key : SettingKeys::loadOrder()) {
      const auto it = values.find(key.name);
      if (QByteArray(key.section) == section && it != values.end())
        out += QByteArray(key.name) + "=" + QByteArray::fromStdString(it->second) + "\n";
    }
  }
  return out;
}

QString loaded(const char* key, const char* stored, Text box) {
  ConfigHome home;
  home.writeFile(kOwn, iniOf({{key, stored}}));
  Program program;
  program.load.all();
  return program.options.text(box);
}

} // namespace

TEST(LoadSettings, FirstStartWithAnEmptyStoreShowsEveryDefault) {
  ConfigHome home;
  Program p;
  p.load.all();
  EXPECT_EQ(p.options.text(Text::txtSrv), u"127.0.0.1");
  EXPECT_EQ(p.options.text(Text::txtSrvPort), u"7778");
  EXPECT_EQ(p.options.text(Text::txtPW), u"");
  EXPECT_EQ(p.options.passwordChar(), u"");
  EXPECT_EQ(p.options.text(Text::txtKeepalive), u"300");
  EXPECT_TRUE(p.options.checked(Check::chkMsgAktiv));
  EXPECT_TRUE(p.options.checked(Check::chkMsgVorne));
  EXPECT_FALSE(p.options.checked(Check::chkAuto));
  EXPECT_EQ(p.options.text(Text::txtMsgLines), u"1");
  EXPECT_EQ(p.options.text(Text::txtMsgTime), u"30");
  EXPECT_EQ(p.options.text(Text::txtMsgBreite), u"100");
  EXPECT_EQ(p.options.text(Text::txtMsgLinks), u"0");
  EXPECT_FLOAT_EQ(p.options.PopupWidthPercent, 100.0f);
  EXPECT_FLOAT_EQ(p.options.PopupLeftPercent, 0.0f);
  EXPECT_EQ(p.options.selectedPosition(), 0);
  EXPECT_EQ(p.options.PopupPosition, 0);
  EXPECT_EQ(p.options.text(Text::txtMsgOnly),
            u"000;001;002;003;004;005;006;007;008;009;015;106;110");
  EXPECT_EQ(p.options.text(Text::txtReClickHide), u"20");
  EXPECT_EQ(p.popup.fontCalls, 1);
  EXPECT_EQ(p.popup.font().name, u"Arial");
  EXPECT_DOUBLE_EQ(p.popup.font().size, 10.0);
  EXPECT_FALSE(p.popup.font().bold);
  EXPECT_FALSE(p.popup.font().italic);
  EXPECT_EQ(p.popup.backColor(), 0);
  EXPECT_EQ(p.options.sampleBackColor(), 0);
  EXPECT_EQ(p.options.sampleForeColor(), 16777215);
  EXPECT_TRUE(p.options.InTray);
  EXPECT_TRUE(p.options.checked(Check::chkSysTray));
  EXPECT_EQ(p.options.SuppressSeconds, 60);
  EXPECT_EQ(p.load.formVisibleText(), u"1");
  EXPECT_FALSE(p.load.mainWindowStartsHidden(0));
  // The built-in colours and codes of the first server product, and the program's own two.
  EXPECT_EQ(p.tables.colour(3), 65535);
  EXPECT_EQ(p.tables.colour(15), 8454143);
  EXPECT_EQ(p.tables.colour(16), 255);
  EXPECT_EQ(p.tables.colour(17), 255);
  EXPECT_EQ(p.tables.colour(18), 16777215);
  EXPECT_EQ(p.tables.orgCode(6), u"FW");
  EXPECT_EQ(p.tables.orgCode(15), u"FERNW");
  EXPECT_FALSE(home.exists(kOwn)); // loading writes nothing
}

TEST(LoadSettings, OutOfRangeTextsAreClampedByTheirRules) {
  EXPECT_EQ(loaded("MsgLines", "0", Text::txtMsgLines), u"1");
  EXPECT_EQ(loaded("MsgLines", "31", Text::txtMsgLines), u"30");
  EXPECT_EQ(loaded("MsgLines", "50", Text::txtMsgLines), u"30");
  EXPECT_EQ(loaded("MsgLines", "viele", Text::txtMsgLines), u"1");
  EXPECT_EQ(loaded("MsgTime", "70", Text::txtMsgTime), u"65");
  EXPECT_EQ(loaded("MsgTime", "-5", Text::txtMsgTime), u"0");
  EXPECT_EQ(loaded("Keepalive", "aus", Text::txtKeepalive), u"0");
  EXPECT_EQ(loaded("Keepalive", "10", Text::txtKeepalive), u"10"); // corrected only on leaving
}

TEST(LoadSettings, MsgPositionOneIsBottomAnythingElseTop) {
  for (const auto& [stored, element] :
       std::map<std::string, int>{{"1", 1}, {"2", 0}, {"0", 0}, {"unten", 0}, {"1.0", 1}}) {
    ConfigHome home;
    home.writeFile(kOwn, iniOf({{"MsgPosition", stored}}));
    Program p;
    p.options.OptPosition_Click(1 - element); // start from the other one
    p.load.all();
    EXPECT_EQ(p.options.selectedPosition(), element) << stored;
    EXPECT_EQ(p.options.PopupPosition, element) << stored;
  }
}

TEST(LoadSettings, ADifferentValueRunsTheControlsRuleAnEqualOneDoesNot) {
  ConfigHome home;
  home.writeFile(kOwn, iniOf({{"AutoConnect", "1"}, {"MsgAktiv", "1"}, {"AnzSW", "0"}}));
  Program p;
  SignalRecorder<Check> clicked(&p.options, &Options::clicked);
  p.load.connectionPopupAndSounds();
  EXPECT_EQ(clicked.values, (std::vector<Check>{Check::chkAuto, Check::chkSW}));
  EXPECT_TRUE(p.options.checked(Check::chkAuto));
  EXPECT_FALSE(p.options.checked(Check::chkSW));
}

TEST(LoadSettings, GarbageFollowsTheLeadingNumberRulesOrTheDefault) {
  ConfigHome home;
  home.writeFile(kOwn, iniOf({{"FarbeFME", "12abc"},
                              {"FarbeDME", "rot"},
                              {"MsgAktiv", "0.4"},
                              {"HideRIC", " 2.6 Haken"},
                              {"MsgBreite", "12,5"},
                              {"MsgLinks", "links"},
                              {"MsgFontSize", "riesig"},
                              {"MsgFontBold", "ja"},
                              {"MsgFontItalic", "-1"},
                              {"MsgBackColor", "blau"},
                              {"FormInTray", "x"},
                              {"UnterdrueckenSek", "90s"}}));
  Program p;
  p.load.all();
  EXPECT_EQ(p.tables.colour(16), 12);
  EXPECT_EQ(p.tables.colour(17), 0);
  EXPECT_FALSE(p.options.checked(Check::chkMsgAktiv)); // 0.4 rounds to 0
  EXPECT_TRUE(p.options.checked(Check::chkHideRIC));
  EXPECT_EQ(p.options.text(Text::txtMsgBreite), u"12"); // the comma ends the number
  EXPECT_FLOAT_EQ(p.options.PopupWidthPercent, 12.0f);
  EXPECT_EQ(p.options.text(Text::txtMsgLinks), u"0");
  EXPECT_DOUBLE_EQ(p.popup.font().size, 10.0);
  EXPECT_FALSE(p.popup.font().bold);
  EXPECT_TRUE(p.popup.font().italic);
  EXPECT_EQ(p.popup.backColor(), 0);
  EXPECT_FALSE(p.options.InTray);
  EXPECT_FALSE(p.options.checked(Check::chkSysTray));
  EXPECT_EQ(p.options.SuppressSeconds, 90);
}

TEST(LoadSettings, BooleanAndSizeTextsAreReadInEveryFormWeOrOthersWrite) {
  for (const auto& [bold, expected] : std::map<std::string, bool>{{"True", true},
                                                                  {"false", false},
                                                                  {"TRUE", true},
                                                                  {"0", false},
                                                                  {"1", true},
                                                                  {" 2 ", true},
                                                                  {"0.0", false}}) {
    ConfigHome home;
    home.writeFile(kOwn, iniOf({{"MsgFontBold", bold}, {"MsgFontSize", "10,5"}}));
    Program p;
    p.load.popupAppearance();
    EXPECT_EQ(p.popup.font().bold, expected) << bold;
    EXPECT_DOUBLE_EQ(p.popup.font().size, 10.5);
  }
}

TEST(LoadSettings, ANumberThatDoesNotFitEndsLoadingThere) {
  ConfigHome home;
  home.writeFile(
      kOwn,
      iniOf({{"MsgFontName", "Verdana"}, {"MsgBackColor", "99999999999"}, {"FormInTray", "0"}}));
  Program p;
  p.load.connectionPopupAndSounds();
  EXPECT_THROW(p.load.popupAppearance(), Failure);
  EXPECT_EQ(p.popup.font().name, u"Verdana"); // the keys before it took effect
  EXPECT_TRUE(p.options.InTray);              // the ones after it were not read
}

TEST(LoadSettings, BackgroundSetsTheColourSampleWithAReadableText) {
  for (const auto& [stored, text] : std::map<std::string, Colour>{
           {"16777215", 0}, {"8421504", 16777215}, {"8421505", 0}, {"255", 16777215}}) {
    ConfigHome home;
    home.writeFile(kOwn, iniOf({{"MsgBackColor", stored}}));
    Program p;
    p.load.popupAppearance();
    EXPECT_EQ(p.popup.backColor(), QByteArray::fromStdString(stored).toInt());
    EXPECT_EQ(p.options.sampleBackColor(), p.popup.backColor());
    EXPECT_EQ(p.options.sampleForeColor(), text) << stored;
  }
}

TEST(LoadSettings, TrayAndWindowVisibility) {
  struct Case {
    const char* inTray;
    const char* visible;
    int lockMode;
    bool hidden;
    bool inTrayAfter;
    int trayBox;
  };
  for (const Case& c : {Case{"1", "0", 0, true, true, 1}, Case{"0", "0", 0, false, false, 0},
                        Case{"1", "1", 0, false, true, 1}, Case{"1", "01", 0, true, true, 1},
                        Case{"1", "1", 1, true, true, 1}, Case{"0", "1", 2, true, true, 0}}) {
    ConfigHome home;
    home.writeFile(kOwn, iniOf({{"FormInTray", c.inTray}, {"FormVisible", c.visible}}));
    Program p;
    p.load.all();
    EXPECT_EQ(p.load.mainWindowStartsHidden(c.lockMode), c.hidden) << c.inTray << c.visible;
    EXPECT_EQ(p.options.InTray, c.inTrayAfter);
    EXPECT_EQ(p.options.value(Check::chkSysTray), c.trayBox);
  }
}

TEST(LoadSettings, FirstServerProductsKeysAreReadAndNeverWritten) {
  ConfigHome home;
  const QByteArray foreign = "[Statusfarben]\n3=16711680\n4=12abc\n5=gelb\n"
                             "[BOS-Kennung]\n6= Feuerwehr \n0=\n";
  home.writeFile(QString::fromLatin1(SettingsStore::kZentrix), foreign);
  Program p;
  p.load.statusColours();
  p.load.organisationCodes();
  EXPECT_EQ(p.tables.colour(3), 16711680);
  EXPECT_EQ(p.tables.colour(4), 12);
  EXPECT_EQ(p.tables.colour(5), 0);
  EXPECT_EQ(p.tables.colour(6), 8421504); // absent: built-in
  EXPECT_EQ(p.tables.orgCode(6), u" Feuerwehr ");
  EXPECT_EQ(p.tables.orgCode(0), u"");
  EXPECT_EQ(p.tables.orgCode(1), u"POL");
  p.save(true);
  EXPECT_EQ(home.readFile(QString::fromLatin1(SettingsStore::kZentrix)), foreign);
  EXPECT_FALSE(home.readFile(kOwn).contains("Statusfarben"));
  EXPECT_FALSE(home.readFile(kOwn).contains("BOS-Kennung"));
}

TEST(SaveSettings, WritesEveryKeyInItsOwnOrderAndLogsSaved) {
  ConfigHome home;
  QTemporaryDir logDir;
  const QString logPath = logDir.filePath(QStringLiteral("events.log"));
  Program p;
  p.load.all();
  EventLog log(logPath);
  SaveSettings save(p.store, p.options, p.tables, p.popup, log);
  save(true);

  // Sections in the order their first key is saved; within each, the keys in save order.
  std::map<std::string, QStringList> expected;
  for (const char* name : SettingKeys::saveOrder()) {
    const SettingKey& key = SettingKeys::byName(QString::fromLatin1(name));
    expected[key.section].append(QString::fromLatin1(name));
  }
  QStringList sections;
  std::map<std::string, QStringList> written;
  std::string current;
  for (const QString& line : home.lines(kOwn)) {
    if (line.startsWith(u'[')) {
      sections.append(line);
      current = line.mid(1, line.size() - 2).toStdString();
    } else {
      written[current].append(line.section(u'=', 0, 0));
    }
  }
  EXPECT_EQ(sections, (QStringList{QStringLiteral("[Server]"), QStringLiteral("[Einstellungen]"),
                                   QStringLiteral("[Sounds]")}));
  EXPECT_EQ(written, expected);
  EXPECT_EQ(written["Server"], (QStringList{QStringLiteral("Adresse"), QStringLiteral("Port"),
                                            QStringLiteral("PW"), QStringLiteral("Keepalive")}));

  QFile logFile(logPath);
  ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
  EXPECT_EQ(logFile.readAll(), QByteArray("saved\n"));
}

TEST(SaveSettings, DefaultsAreWrittenInTheirValueForms) {
  ConfigHome home;
  Program p;
  p.load.all();
  p.save(false);
  const QStringList lines = home.lines(kOwn);
  for (const char* line :
       {"AutoConnect=0", "MsgAktiv=1", "MsgPosition=0", "MsgFontSize=10", "MsgFontBold=False",
        "MsgFontItalic=False", "MsgBackColor=0", "MsgBreite=100", "MsgLinks=0", "FormInTray=1",
        "FormVisible=0", "UnterdrueckenSek=60", "FarbeFME=255", "PWChar=", "PW="})
    EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << line;
  EXPECT_EQ(lines.size(), 3 + 40);
}

TEST(SaveSettings, SaveThenLoadReproducesEveryKeyByteForByte) {
  ConfigHome home;
  const std::map<std::string, std::string> values{
      {"FarbeFME", "65280"},
      {"FarbeDME", "16711680"},
      {"Adresse", " leitstelle.example "},
      {"Port", "17778"},
      {"PW", "p;a=s s#w\"o'r\\d ä"},
      {"AutoConnect", "1"},
      {"Keepalive", "120"},
      {"MsgLogOnly", "000;001;002"},
      {"MsgTime", "12"},
      {"MsgLines", "7"},
      {"MsgAktiv", "0"},
      {"MsgVorne", "0"},
      {"HideRIC", "1"},
      {"ReClickHide", "0"},
      {"ReClickHideSec", "45"},
      {"MsgBreite", "12.5"},
      {"MsgLinks", "33.3"},
      {"MsgPosition", "1"},
      {"UnbekFME", "0"},
      {"UnbekFMS", "0"},
      {"AnzSW", "0"},
      {"AnzES", "0"},
      {"Alarm", "1"},
      {"StatusFzg", "1"},
      {"FMSText", "1"},
      {"SA", "1"},
      {"AlarmFile", "C:\\Sounds\\Alarm neu.wav"},
      {"StatusFzgFile", "  ../sounds/fzg;1.wav  "},
      {"FMSTextFile", "Töne\\Text, lang.wav"},
      {"SAFile", "=sa=.wav"},
      {"SAKennung", "6 1 23 456"},
      {"PWChar", "*"},
      {"MsgFontName", "Times New Roman"},
      {"MsgFontSize", "10.5"},
      {"MsgFontBold", "True"},
      {"MsgFontItalic", "True"},
      {"MsgBackColor", "16777215"},
      {"FormInTray", "0"},
      {"UnterdrueckenSek", "-3"},
      {"FormVisible", "1"},
  };
  ASSERT_EQ(values.size(), SettingKeys::kCount);
  home.writeFile(kOwn, iniOf(values));
  {
    Program first;
    first.load.all();
    first.save(true);
  }
  Program second; // reads what the first one wrote
  for (const SettingKey& key : SettingKeys::loadOrder()) {
    EXPECT_EQ(second.store.read(kOwn, key.sectionText(), key.nameText(), QStringLiteral("<none>")),
              QString::fromStdString(values.at(key.name)))
        << key.name;
  }
  second.load.all();
  EXPECT_EQ(second.options.text(Text::txtSndFzg), u"  ../sounds/fzg;1.wav  ");
  EXPECT_EQ(second.popup.font().name, u"Times New Roman");
  EXPECT_EQ(second.options.sampleForeColor(), 0);
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
  const QStringList lines = home.lines(kOwn);
  for (const char* line :
       {"FarbeFME=33023", "MsgBreite=12.5", "FormInTray=0", "MsgPosition=1", "PWChar=*",
        "MsgFontName=Courier", "MsgFontSize=9.75", "MsgFontBold=True", "FormVisible=1"})
    EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << line;
}

TEST(SaveSettings, ADamagedStoreGivesDefaultsAndIsValidAgainAfterExit) {
  ConfigHome home;
  home.writeFile(kOwn, literalBytes("\x00\xFF[Einst\nMsgLines\n=\n[Einstellungen]\nMsgLines=4x\n"
                                    "[Server]\nPort\n"));
  {
    Program p;
    p.load.all();
    EXPECT_EQ(p.options.text(Text::txtMsgLines), u"4x");
    EXPECT_EQ(p.options.text(Text::txtSrvPort), u"7778");
    p.save(true);
  }
  const QStringList lines = home.lines(kOwn);
  EXPECT_EQ(lines.size(), 3 + 40);
  for (const QString& line : lines)
    EXPECT_TRUE(line.startsWith(u'[') || line.contains(u'=')) << line.toStdString();
  Program again;
  again.load.all();
  EXPECT_EQ(again.options.text(Text::txtMsgLines), u"4x");
}
