// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_store.h"
#include "settings/verbatim_ini_format.h"

#include "support/config_home.h"

#include <gtest/gtest.h>
#include <vector>

using namespace meldlux;

namespace {

const QString kOwn = QString::fromLatin1(SettingsStore::kApplication);
const QString kZentrix = QString::fromLatin1(SettingsStore::kZentrix);

QString readOwn(const SettingsStore& store, const QString& section, const QString& key,
                const QString& fallback = QStringLiteral("<none>")) {
  return store.read(kOwn, section, key, fallback);
}

} // namespace

TEST(SettingsStore, LivesUnderXdgConfigHomeAndMissingKeysGiveTheDefault) {
  if (!ConfigHome::kIsFile)
    GTEST_SKIP() << "the store is the registry on Windows: no folder, no file";
  ConfigHome home;
  SettingsStore store;
  EXPECT_EQ(readOwn(store, "Server", "Adresse", "127.0.0.1"), u"127.0.0.1"); // no file yet
  store.write(kOwn, "Server", "Port", "7778");
  EXPECT_EQ(store.filePath(kOwn), home.path(kOwn));
  EXPECT_EQ(home.readFile(kOwn), QByteArray("[Server]\nPort=7778\n"));
  EXPECT_EQ(readOwn(store, "Server", "Adresse", "x"), u"x");
  EXPECT_EQ(readOwn(store, "Sounds", "Port", "y"), u"y"); // other section
}

TEST(SettingsStore, ValuesRoundTripByteForByte) {
  ConfigHome home;
  const QStringList values = {"000;001;002", "  blanks both ends  ", "a,b,c", "x=y=z",
                              "#not a comment", ";neither", "\"quoted\" 'too'",
                              "C:\\Sounds\\neu.wav", "Grüße, Straße ÄÖÜ €", QString(), "[Server]",
                              "\\n \\t \\\\", "@Variant(x)", "\t tab",
                              // Qt's own stores give "@" at the start a meaning of their own.
                              "@x", "@@x", "@Invalid()", "@String(y)", "@ByteArray(z)"};
  {
    SettingsStore store;
    for (int i = 0; i < values.size(); ++i)
      store.write(kOwn, "Einstellungen", QStringLiteral("K%1").arg(i), values[i]);
  }
  SettingsStore again; // a fresh store reads the file, not what the first one remembers
  for (int i = 0; i < values.size(); ++i)
    EXPECT_EQ(readOwn(again, "Einstellungen", QStringLiteral("K%1").arg(i)), values[i]) << i;
#ifndef Q_OS_WIN
  // And the file holds them verbatim, as a person would read it.
  const QStringList lines = home.lines(kOwn);
  for (const char* line : {"K0=000;001;002", "K7=C:\\Sounds\\neu.wav", "K1=  blanks both ends  ",
                           "K9=", "K14=@x", "K16=@Invalid()"})
    EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
#endif
}

TEST(SettingsStore, HandWrittenFileIsReadAsWritten) {
  if (!ConfigHome::kIsFile)
    GTEST_SKIP() << "the store is the registry on Windows: nothing is written by hand in a file";
  ConfigHome home;
  home.writeFile(kOwn, "; written by hand\r\n"
                       "[Server]\r\n"
                       "Adresse=alarm.example \r\n"
                       "  PW =geheim;#1\r\n"
                       "\r\n"
                       "[ Einstellungen ]\n"
                       "MsgLogOnly=000;001;015\n"
                       "AlarmFile=\"C:\\Sounds\\neu.wav\"\n"
                       "this line has no equals sign\n"
                       "MsgFontName=Times New Roman\n"
                       "SAKennung=Stra\xDF"
                       "e \xFC"
                       "ber\n"); // Windows umlauts, not UTF-8
  SettingsStore store;
  EXPECT_EQ(readOwn(store, "Server", "Adresse"), u"alarm.example ");
  EXPECT_EQ(readOwn(store, "Server", "PW"), u"geheim;#1");
  EXPECT_EQ(readOwn(store, "Einstellungen", "MsgLogOnly"), u"000;001;015");
  EXPECT_EQ(readOwn(store, "Einstellungen", "AlarmFile"), u"\"C:\\Sounds\\neu.wav\"");
  EXPECT_EQ(readOwn(store, "Einstellungen", "MsgFontName"), u"Times New Roman");
  EXPECT_EQ(readOwn(store, "Einstellungen", "SAKennung"), u"Straße über");
}

TEST(SettingsStore, WritingKeepsEveryOtherKeyInItsPlace) {
  if (!ConfigHome::kIsFile)
    GTEST_SKIP() << "the store is the registry on Windows: it keeps no order of keys";
  ConfigHome home;
  home.writeFile(kOwn, "[Einstellungen]\nZ=1\nUnknown=keep me\nA=2\n[Fremd]\nX=y;z\n");
  SettingsStore store;
  store.write(kOwn, "Einstellungen", "A", "3");
  store.write(kOwn, "Einstellungen", "New", "n");
  store.write(kOwn, "Server", "Port", "1");
  EXPECT_EQ(home.readFile(kOwn), QByteArray("[Einstellungen]\nZ=1\nUnknown=keep me\nA=3\nNew=n\n"
                                            "\n[Fremd]\nX=y;z\n\n[Server]\nPort=1\n"));
}

TEST(SettingsStore, LineBreakCutsAValueInsteadOfBreakingTheFile) {
  ConfigHome home;
  SettingsStore store;
  store.write(kOwn, "Server", "PW", "first\r\n[Server]\nPW=injected");
  store.write(kOwn, "Server", "Port", "7778");
  EXPECT_EQ(readOwn(store, "Server", "PW"), u"first");
  EXPECT_EQ(readOwn(SettingsStore(), "Server", "PW"), u"first");
  if (ConfigHome::kIsFile) {
    EXPECT_EQ(home.readFile(kOwn), QByteArray("[Server]\nPW=first\nPort=7778\n"));
  }
}

TEST(SettingsStore, ZentrixIsReadAndNeverWritten) {
  ConfigHome home;
  const QByteArray original = "[Statusfarben]\n3=255\n[BOS-Kennung]\n6=Feuerwehr\n";
  home.writeFile(kZentrix, original);
  const QByteArray before = home.readFile(kZentrix);
  SettingsStore store;
  EXPECT_EQ(store.read(kZentrix, "BOS-Kennung", "6", {}), u"Feuerwehr");
  store.write(kZentrix, "Statusfarben", "3", "0");
  store.write("ZENTRIX", "Neu", "1", "0");
  EXPECT_EQ(home.readFile(kZentrix), before);
  EXPECT_EQ(store.read(kZentrix, "Statusfarben", "3", {}), u"255");
  if (ConfigHome::kIsFile) { // the registry's names ignore case: there it is the key above
    EXPECT_FALSE(home.exists("ZENTRIX"));
  }
}

TEST(SettingsStore, DamagedFileGivesDefaultsAndIsRewrittenValid) {
  if (!ConfigHome::kIsFile)
    GTEST_SKIP() << "the store is the registry on Windows: it has no file to damage";
  ConfigHome home;
  QByteArray garbage = literalBytes("[Server\n=no key\n\xFF\xFE\x00\x01 binary\n[]\n==\n"
                                    "\x00\xFF[Einst\nMsgLines\n=\n[Server]\nPort=99\nPort\n");
  garbage += QByteArray(5000, '\0');
  home.writeFile(kOwn, garbage);
  SettingsStore store;
  EXPECT_EQ(readOwn(store, "Server", "Adresse", "d"), u"d");
  EXPECT_EQ(readOwn(store, "Server", "Port"), u"99");
  store.write(kOwn, "Server", "Adresse", "h");
  for (const QString& line : home.lines(kOwn))
    EXPECT_TRUE(line.startsWith(u'[') || line.contains(u'=')) << line.toStdString();
  SettingsStore again;
  EXPECT_EQ(readOwn(again, "Server", "Adresse"), u"h");
  EXPECT_EQ(readOwn(again, "Server", "Port"), u"99");
}

TEST(SettingsStore, UnreadableStoreGivesDefaultsWithoutHarm) {
  if (!ConfigHome::kIsFile)
    GTEST_SKIP() << "the store is the registry on Windows: no folder can stand in place of a file";
  ConfigHome home;
  QDir().mkpath(home.path(kOwn)); // a folder where the file should be
  SettingsStore store;
  EXPECT_EQ(readOwn(store, "Server", "Port", "7778"), u"7778");
  store.write(kOwn, "Server", "Port", "1");
  EXPECT_EQ(readOwn(store, "Server", "Port", "7778"), u"7778");
}

TEST(SettingsStore, NamesThatWouldLeaveTheStoreAddressNothing) {
  ConfigHome home;
  SettingsStore store;
  store.write("../evil", "S", "K", "v");
  store.write(kOwn, "S/T", "K", "v");
  store.write(kOwn, "S", QString(), "v");
  EXPECT_FALSE(home.exists(kOwn));
  EXPECT_FALSE(QFile::exists(QFileInfo(home.path(kOwn)).absolutePath() + "/../evil.ini"));
}

TEST(VerbatimIniFormat, RepeatedKeysAndKeysBeforeAnySectionKeepTheirPlace) {
  // A repeated key keeps its first place and its last value.
  const auto repeated = VerbatimIniFormat::parse("[S]\na=1\nb=2\na=3\n");
  EXPECT_EQ(repeated.value("S/a").toString(), u"3");
  EXPECT_EQ(VerbatimIniFormat::serialize(repeated), QByteArray("[S]\na=3\nb=2\n"));
  const auto top = VerbatimIniFormat::parse("top=1\n[S]\nk=v\n");
  EXPECT_EQ(top.value("top").toString(), u"1");
  EXPECT_EQ(VerbatimIniFormat::serialize(top), QByteArray("top=1\n\n[S]\nk=v\n"));
}

TEST(VerbatimIniFormat, OneByteOrderMarkIsTheEncodingsAnyOtherIsText) {
  // The key each file gives, and the same key again after the file is rewritten: a key that
  // begins with U+FEFF and comes first in the written file must not lose it as a mark.
  const QString bom(QChar(0xFEFF));
  for (const auto& [bytes, key] : std::vector<std::pair<QByteArray, QString>>{
           {"\xEF\xBB\xBFk=1\n", "k"},
           {"\xEF\xBB\xBF\xEF\xBB\xBFk=1\n", bom + "k"},
           {"\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBFk=1\n", bom + bom + "k"},
           {"[S]\na=1\n[]\n\xEF\xBB\xBFk=1\n", bom + "k"}}) {
    SCOPED_TRACE(bytes.toHex().toStdString());
    const auto first = VerbatimIniFormat::parse(bytes);
    EXPECT_EQ(first.value(key).toString(), u"1");
    const auto second = VerbatimIniFormat::parse(VerbatimIniFormat::serialize(first));
    EXPECT_EQ(second.value(key).toString(), u"1");
  }
}

TEST(VerbatimIniFormat, AnyFileReadsBackTheSameAfterBeingRewritten) {
  // Whatever a file holds, writing what was read and reading it again changes no key and no
  // value (beyond cutting a value at a line break, which a line cannot hold).
  const QByteArray alphabet = literalBytes("[]=;#\r\n \t/\\aK1\xC3\xA4\xFC\x80\x00");
  quint32 seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (int round = 0; round < 2000; ++round) {
    QByteArray bytes;
    const int length = int(next() % 80);
    for (int i = 0; i < length; ++i)
      bytes += alphabet[qsizetype(next() % quint32(alphabet.size()))];
    const auto first = VerbatimIniFormat::parse(bytes);
    const auto second = VerbatimIniFormat::parse(VerbatimIniFormat::serialize(first));
    SCOPED_TRACE(bytes.toHex().toStdString());
    for (auto it = first.cbegin(); it != first.cend(); ++it) {
      if (it.key() == VerbatimIniFormat::orderKey())
        continue;
      ASSERT_TRUE(second.contains(it.key()));
      ASSERT_EQ(second.value(it.key()).toString(),
                VerbatimIniFormat::singleLine(it.value().toString()));
    }
    ASSERT_EQ(second.size(), first.size());
  }
}

// Of a file cut short by a power failure (NULs) or written over by something else (control
// bytes) a dated copy is kept, and what still reads is read; 8-bit text is no damage.
TEST(SettingsStore, ADamagedFileIsKeptAsADatedCopy) {
  if (!ConfigHome::kIsFile)
    GTEST_SKIP() << "the store is the registry on Windows: it has no file to damage or copy";
  const QDateTime now(QDate(2026, 12, 8), QTime(12, 30, 5));
  const QByteArray good = "[Server]\nAdresse=Wache S\xfc" "d\n"; // Windows-1252, by hand
  for (const QByteArray& bytes :
       {good, good + QByteArray("\0\0", 2), good + "\x01\x1b[Sounds]\n"}) {
    ConfigHome home;
    home.writeFile(kOwn, bytes);
    const QString copy = SettingsStore().keepCopyIfDamaged(kOwn, now);
    EXPECT_EQ(readOwn(SettingsStore(), "Server", "Adresse"), u"Wache Süd");
    const bool sound = bytes == good;
    EXPECT_EQ(copy, sound ? QString() : home.path(kOwn).replace(
                                            ".ini", ".damaged-2026-12-08_12-30-05.ini"));
    QFile kept(copy);
    EXPECT_EQ(kept.open(QIODevice::ReadOnly) ? kept.readAll() : QByteArray(), sound ? "" : bytes);
  }
}
