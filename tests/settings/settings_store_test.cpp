#include "settings/settings_store.h"
#include "settings/verbatim_ini_format.h"

#include "config_home.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace meldlux;

namespace {

const QString kOwn = QString::fromLatin1(SettingsStore::kApplication);
const QString kZentrix = QString::fromLatin1(SettingsStore::kZentrix);

QString readOwn(const SettingsStore& store, const char* section, const char* key,
                const QString& fallback = QStringLiteral("<none>")) {
  return store.read(kOwn, QString::fromUtf8(section), QString::fromUtf8(key), fallback);
}

} // namespace

TEST(SettingsStore, LivesUnderXdgConfigHome) {
  ConfigHome home;
  SettingsStore store;
  store.write(kOwn, QStringLiteral("Server"), QStringLiteral("Port"), QStringLiteral("7778"));
  EXPECT_EQ(store.filePath(kOwn), home.path(kOwn));
  EXPECT_EQ(home.readFile(kOwn), QByteArray("[Server]\nPort=7778\n"));
}

TEST(SettingsStore, MissingStoreAndMissingKeyGiveTheDefault) {
  ConfigHome home;
  SettingsStore store;
  EXPECT_EQ(readOwn(store, "Server", "Adresse", QStringLiteral("127.0.0.1")), u"127.0.0.1");
  store.write(kOwn, QStringLiteral("Server"), QStringLiteral("Port"), QStringLiteral("1"));
  EXPECT_EQ(readOwn(store, "Server", "Adresse", QStringLiteral("x")), u"x");
  EXPECT_EQ(readOwn(store, "Sounds", "Port", QStringLiteral("y")), u"y"); // other section
}

TEST(SettingsStore, ValuesRoundTripByteForByte) {
  ConfigHome home;
  const QStringList values = {
      QStringLiteral("000;001;002"),
      QStringLiteral("  blanks both ends  "),
      QStringLiteral("a,b,c"),
      QStringLiteral("x=y=z"),
      QStringLiteral("#not a comment"),
      QStringLiteral(";neither"),
      QStringLiteral("\"quoted\" 'too'"),
      QStringLiteral("C:\\Sounds\\neu.wav"),
      QStringLiteral("Grüße, Straße ÄÖÜ €"),
      QString(),
      QStringLiteral("[Server]"),
      QStringLiteral("\\n \\t \\\\"),
      QStringLiteral("@Variant(x)"),
      QStringLiteral("\t tab"),
  };
  {
    SettingsStore store;
    for (int i = 0; i < values.size(); ++i)
      store.write(kOwn, QStringLiteral("Einstellungen"), QStringLiteral("K%1").arg(i), values[i]);
  }
  SettingsStore again; // a fresh store reads the file, not what the first one remembers
  for (int i = 0; i < values.size(); ++i) {
    EXPECT_EQ(again.read(kOwn, QStringLiteral("Einstellungen"), QStringLiteral("K%1").arg(i),
                         QStringLiteral("<none>")),
              values[i])
        << i;
  }
  // And the file holds them verbatim, as a person would read it.
  const QStringList lines = home.lines(kOwn);
  EXPECT_TRUE(lines.contains(QStringLiteral("K0=000;001;002")));
  EXPECT_TRUE(lines.contains(QStringLiteral("K7=C:\\Sounds\\neu.wav")));
  EXPECT_TRUE(lines.contains(QStringLiteral("K1=  blanks both ends  ")));
  EXPECT_TRUE(lines.contains(QStringLiteral("K9=")));
}

TEST(SettingsStore, HandWrittenFileIsReadAsWritten) {
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
                       "MsgFontName=Times New Roman\n");
  SettingsStore store;
  EXPECT_EQ(readOwn(store, "Server", "Adresse"), u"alarm.example ");
  EXPECT_EQ(readOwn(store, "Server", "PW"), u"geheim;#1");
  EXPECT_EQ(readOwn(store, "Einstellungen", "MsgLogOnly"), u"000;001;015");
  EXPECT_EQ(readOwn(store, "Einstellungen", "AlarmFile"), u"\"C:\\Sounds\\neu.wav\"");
  EXPECT_EQ(readOwn(store, "Einstellungen", "MsgFontName"), u"Times New Roman");
}

TEST(SettingsStore, WindowsUmlautsInAHandWrittenFileAreRead) {
  ConfigHome home;
  home.writeFile(kOwn, "[Einstellungen]\nSAKennung=Stra\xDF"
                       "e \xFC"
                       "ber\n"); // not UTF-8
  SettingsStore store;
  EXPECT_EQ(readOwn(store, "Einstellungen", "SAKennung"), u"Straße über");
}

TEST(SettingsStore, WritingKeepsEveryOtherKeyInItsPlace) {
  ConfigHome home;
  home.writeFile(kOwn, "[Einstellungen]\nZ=1\nUnknown=keep me\nA=2\n[Fremd]\nX=y;z\n");
  SettingsStore store;
  store.write(kOwn, QStringLiteral("Einstellungen"), QStringLiteral("A"), QStringLiteral("3"));
  store.write(kOwn, QStringLiteral("Einstellungen"), QStringLiteral("New"), QStringLiteral("n"));
  store.write(kOwn, QStringLiteral("Server"), QStringLiteral("Port"), QStringLiteral("1"));
  EXPECT_EQ(home.readFile(kOwn), QByteArray("[Einstellungen]\nZ=1\nUnknown=keep me\nA=3\nNew=n\n"
                                            "\n[Fremd]\nX=y;z\n\n[Server]\nPort=1\n"));
}

TEST(SettingsStore, LineBreakCutsAValueInsteadOfBreakingTheFile) {
  ConfigHome home;
  SettingsStore store;
  store.write(kOwn, QStringLiteral("Server"), QStringLiteral("PW"),
              QStringLiteral("first\r\n[Server]\nPW=injected"));
  store.write(kOwn, QStringLiteral("Server"), QStringLiteral("Port"), QStringLiteral("7778"));
  EXPECT_EQ(readOwn(store, "Server", "PW"), u"first");
  EXPECT_EQ(SettingsStore().read(kOwn, QStringLiteral("Server"), QStringLiteral("PW"), {}),
            u"first");
  EXPECT_EQ(home.readFile(kOwn), QByteArray("[Server]\nPW=first\nPort=7778\n"));
}

TEST(SettingsStore, ZentrixIsReadAndNeverWritten) {
  ConfigHome home;
  const QByteArray original = "[Statusfarben]\n3=255\n[BOS-Kennung]\n6=Feuerwehr\n";
  home.writeFile(kZentrix, original);
  SettingsStore store;
  EXPECT_EQ(store.read(kZentrix, QStringLiteral("BOS-Kennung"), QStringLiteral("6"), {}),
            u"Feuerwehr");
  store.write(kZentrix, QStringLiteral("Statusfarben"), QStringLiteral("3"), QStringLiteral("0"));
  store.write(QStringLiteral("ZENTRIX"), QStringLiteral("Neu"), QStringLiteral("1"),
              QStringLiteral("0"));
  EXPECT_EQ(home.readFile(kZentrix), original);
  EXPECT_EQ(store.read(kZentrix, QStringLiteral("Statusfarben"), QStringLiteral("3"), {}), u"255");
  EXPECT_FALSE(QFile::exists(home.path(QStringLiteral("ZENTRIX"))));
}

TEST(SettingsStore, DamagedFileGivesDefaultsAndIsRewrittenValid) {
  ConfigHome home;
  QByteArray garbage =
      literalBytes("[Server\n=no key\n\xFF\xFE\x00\x01 binary\n[]\n==\n[Server]\nPort=99\n");
  garbage += QByteArray(5000, '\0');
  home.writeFile(kOwn, garbage);
  SettingsStore store;
  EXPECT_EQ(readOwn(store, "Server", "Adresse", QStringLiteral("d")), u"d");
  EXPECT_EQ(readOwn(store, "Server", "Port"), u"99");
  store.write(kOwn, QStringLiteral("Server"), QStringLiteral("Adresse"), QStringLiteral("h"));
  SettingsStore again;
  EXPECT_EQ(readOwn(again, "Server", "Adresse"), u"h");
  EXPECT_EQ(readOwn(again, "Server", "Port"), u"99");
}

TEST(SettingsStore, UnreadableStoreGivesDefaultsWithoutHarm) {
  ConfigHome home;
  QDir().mkpath(home.path(kOwn)); // a folder where the file should be
  SettingsStore store;
  EXPECT_EQ(readOwn(store, "Server", "Port", QStringLiteral("7778")), u"7778");
  store.write(kOwn, QStringLiteral("Server"), QStringLiteral("Port"), QStringLiteral("1"));
  EXPECT_EQ(readOwn(store, "Server", "Port", QStringLiteral("7778")), u"7778");
}

TEST(SettingsStore, NamesThatWouldLeaveTheStoreAddressNothing) {
  ConfigHome home;
  SettingsStore store;
  store.write(QStringLiteral("../evil"), QStringLiteral("S"), QStringLiteral("K"),
              QStringLiteral("v"));
  store.write(kOwn, QStringLiteral("S/T"), QStringLiteral("K"), QStringLiteral("v"));
  store.write(kOwn, QStringLiteral("S"), QString(), QStringLiteral("v"));
  EXPECT_FALSE(home.exists(kOwn));
  EXPECT_FALSE(
      QFile::exists(QFileInfo(home.path(kOwn)).absolutePath() + QStringLiteral("/../evil.ini")));
}

TEST(VerbatimIniFormat, RepeatedKeyKeepsItsFirstPlaceAndLastValue) {
  const auto map = VerbatimIniFormat::parse("[S]\na=1\nb=2\na=3\n");
  EXPECT_EQ(map.value(QStringLiteral("S/a")).toString(), u"3");
  EXPECT_EQ(VerbatimIniFormat::serialize(map), QByteArray("[S]\na=3\nb=2\n"));
}

TEST(VerbatimIniFormat, KeysBeforeAnySectionStayInFront) {
  const auto map = VerbatimIniFormat::parse("top=1\n[S]\nk=v\n");
  EXPECT_EQ(map.value(QStringLiteral("top")).toString(), u"1");
  EXPECT_EQ(VerbatimIniFormat::serialize(map), QByteArray("top=1\n\n[S]\nk=v\n"));
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
    for (auto it = first.cbegin(); it != first.cend(); ++it) {
      if (it.key() == VerbatimIniFormat::orderKey())
        continue;
      ASSERT_TRUE(second.contains(it.key())) << bytes.toHex().toStdString();
      ASSERT_EQ(second.value(it.key()).toString(),
                VerbatimIniFormat::singleLine(it.value().toString()))
          << bytes.toHex().toStdString();
    }
    ASSERT_EQ(second.size(), first.size()) << bytes.toHex().toStdString();
  }
}
