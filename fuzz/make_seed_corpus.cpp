// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fuzzers' seed corpus: one folder per fuzzer under the folder given, one file per
// case, built from the lines, stores and files the unit tests use. Usage: make_seed_corpus DIR
#include "base/cp1252.h"
#include "refdata/sample_data_set.h"
#include "settings/setting_keys.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {

using namespace meldlux;

// Telegram lines as the dispatch and handler tests build them.
QString tabFms(const QString& status, const QString& direction, const QString& kind = {},
               const QString& place = {}, const QString& text = {}, int fieldCount = 14,
               const QString& identifier = QStringLiteral("64123456")) {
  const QStringList f{"FMSTlg", identifier, {}, {},   {}, {},    status,
                      {},       direction,  {}, kind, {}, place, text};
  return f.mid(0, fieldCount).join(u'\t');
}

QString marker(const QString& identifier, const QString& type, const QString& direction,
               const QString& text = {}, int fieldCount = 12,
               const QString& date = QStringLiteral("04.12.26"),
               const QString& time = QStringLiteral("20:15:00")) {
  const QStringList f{
      "#!XX!#" + date, time, identifier, type, "x", direction, {}, {}, {}, {}, {}, text};
  return f.mid(0, fieldCount).join(QStringLiteral("#![]!#"));
}

QString vehicle(const QString& status, const QString& text = {}, int fieldCount = 12) {
  return marker(QStringLiteral("64123456"), status, QStringLiteral("false"), text, fieldCount);
}

QString control(const QString& status, const QString& text = {}, int fieldCount = 12) {
  return marker(QStringLiteral("64123456"), status, QStringLiteral("true"), text, fieldCount);
}

QString poc(const QString& ric, const QString& function, const QString& text) {
  return "POC\t" + ric + u'\t' + function + u'\t' + text;
}

// One received block per entry.
std::vector<QStringList> telegramCases() {
  std::vector<QStringList> cases;
  // Text derivation of both directions in both formats.
  cases.push_back({tabFms("3", "0", "1", "7"), tabFms("3", "0", "1", "150"),
                   tabFms("3", "0", "1", "6.5"), tabFms("3", "0", "2", "7", "  Einsatz "),
                   tabFms("3", "0", "3", "7", "Einsatz"), tabFms("3", "0", "2", "7", {}, 13),
                   tabFms("10", "0", "1", "7", " Freitext ")});
  cases.push_back({vehicle("3", "EGLOF_BAVARIA 007"), vehicle("3", "EGLOF_BAVARIA 101"),
                   vehicle("3", "EGLOF_ALARM : Einsatz"), vehicle("3", "EGLOF_X Y Rest des Textes"),
                   vehicle("3", "EGLOF_X Y"), vehicle("10", "EGLOF_GPSINFO : 48.1 11.5"),
                   vehicle("3", "Text", 11)});
  cases.push_back({control("10", "Bitte melden (12)"), control("10", "Test(A)"),
                   control("10", "x;TRN"), control("10", "Text (123)"), control("10", {}, 11),
                   marker("64123456", "10", "False", "T"), tabFms("10", "1", {}, {}, "x&TRN"),
                   tabFms("10", "1", {}, {}, " Bitte melden (12) "), tabFms("10", "1", {}, {}, {}, 9)});
  // Status numbers: rounding, the highest one, negative ones, too high ones.
  cases.push_back({tabFms(" 4.4", "0"), tabFms("2.5", "0"), vehicle("3.5"), control(" 7abc"),
                   vehicle("16.0"), tabFms("18", "1"), vehicle("18"), tabFms("-1", "0"),
                   control("-1"), tabFms("19", "0"), tabFms("1e9", "0"), vehicle("19"),
                   control("99999"), tabFms("-99999", "1"), control("-1e9")});
  // Alarms in both formats.
  cases.push_back({"ZVEI\t 12345 \tx", "POC\t 1234567 \t 4 \t Alarm Wache ", "POC\t  \t1\tText",
                   marker("12345", "16", "false"), marker("1234", "17", "false", "  Alarm  "),
                   marker("1234", "17", "x", {}, 11), marker("1234 ", "17", "false", "Alarm"),
                   marker("", "17", "false", "Alarm")});
  cases.push_back({"ZVEI\t12345", "ZVEI\t12345", "ZVEI\t23456", "ZVEI\t12345 ", "ZVEI\t1234",
                   poc("1234567", "a", "Brand"), poc("1234567", "B", {}), poc("1234567", "3", "Test"),
                   poc("2000", "d", {}), poc("0001234567", "A", "x"), poc("42", "C", {})});
  // Dates and times, good and bad, and lines that are no telegram.
  cases.push_back({marker("1", "16", "false", {}, 11, "31.12.29", "23:59:59"),
                   marker("1", "16", "false", {}, 11, "01.01.30", "00:00:00"),
                   marker("1", "16", "false", {}, 11, "31.02.26", "20:15:00"),
                   marker("1", "16", "false", {}, 11, "04.12.26", "24:00:00"),
                   marker("1", "16", "false", {}, 11, " 4.12.26", "20:15"), "#!XX!#", "ZVEI12345",
                   "FMSTlg", "ZVEIX\t1", "POC\t1\t2", tabFms("3", "0", {}, {}, {}, 8),
                   QStringList(10, "x").join("#![]!#")});
  // Vehicle handler: known, unknown and undecodable identifiers, indicators, text telegrams.
  cases.push_back({tabFms("3", "0", {}, {}, {}, 14, "64123456"),
                   tabFms("5", "0", {}, {}, {}, 14, "63123456"),
                   tabFms("15", "0", {}, {}, {}, 14, "63123456"),
                   tabFms("10", "0", {}, {}, "Lage & Co"), tabFms("12", "0"),
                   tabFms("2", "0", {}, {}, {}, 14, "94123456"),
                   tabFms("2", "0", {}, {}, {}, 14, " 9D123456"),
                   tabFms("2", "0", {}, {}, {}, 14, "9D12345678901234"),
                   tabFms("2", "0", {}, {}, {}, 14, "Z4123456"),
                   tabFms("2", "0", {}, {}, {}, 14, "X1234567")});
  // Control-centre handler: Sprechaufforderung, coded places, empty and ampersand texts.
  cases.push_back({tabFms("6", "1", {}, {}, {}, 14, "63123456"),
                   tabFms("6", "1", {}, {}, {}, 14, "16312000"),
                   tabFms("10", "1", {}, {}, "&&9556677881122334400000000"),
                   tabFms("10", "1", {}, {}, "&&955667788112233440000000"),
                   tabFms("10", "1", {}, {}, "&&9556677881122334400000X00"),
                   tabFms("10", "1", {}, {}, {}), tabFms("10", "1", {}, {}, "A&B"),
                   tabFms("3", "1", {}, {}, {}, 14, "A1234567")});
  return cases;
}

QByteArray block(const QStringList& lines) {
  return cp1252::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

// Stores as the settings tests write them: "key=value" lines put into their sections.
QByteArray ownStore(const QStringList& lines) {
  QByteArray out;
  for (const char* section : {"Server", "Einstellungen", "Sounds"}) {
    out += QByteArray("[") + section + "]\n";
    for (const SettingKey& key : SettingKeys::loadOrder())
      for (const QString& line : lines)
        if (QByteArray(key.section) == section && line.section(u'=', 0, 0) == key.nameText())
          out += line.toUtf8() + '\n';
  }
  return out;
}

std::vector<QByteArray> storeCases() {
  std::vector<QByteArray> stores;
  stores.push_back({}); // a first start
  stores.push_back(ownStore(QString::fromUtf8(
      "FarbeFME=65280\nFarbeDME=16711680\nAdresse= leitstelle.example \nPort=17778\n"
      "PW=p;a=s s#w\"o'r\\d ä\nAutoConnect=1\nKeepalive=120\nMsgLogOnly=000;001;002\n"
      "MsgTime=12\nMsgLines=7\nMsgAktiv=0\nMsgVorne=0\nHideRIC=1\nReClickHide=0\n"
      "ReClickHideSec=45\nMsgBreite=12.5\nMsgLinks=33.3\nMsgPosition=1\nUnbekFME=0\n"
      "UnbekFMS=0\nAnzSW=0\nAnzES=0\nAlarm=1\nStatusFzg=1\nFMSText=1\nSA=1\n"
      "AlarmFile=C:\\Sounds\\Alarm neu.wav\nStatusFzgFile=  ../sounds/fzg;1.wav  \n"
      "FMSTextFile=Töne\\Text, lang.wav\nSAFile==sa=.wav\nSAKennung=6 1 23 456\n"
      "PWChar=*\nMsgFontName=Times New Roman\nMsgFontSize=10.5\nMsgFontBold=True\n"
      "MsgFontItalic=True\nMsgBackColor=16777215\nFormInTray=0\nUnterdrueckenSek=-3\n"
      "FormVisible=1").split(u'\n')));
  stores.push_back(ownStore({"FarbeFME=12abc", "FarbeDME=rot", "MsgAktiv=0.4", "HideRIC= 2.6 Haken",
                             "MsgBreite=12,5", "MsgLinks=links", "MsgFontSize=riesig",
                             "MsgFontBold=ja", "MsgFontItalic=-1", "MsgBackColor=blau",
                             "FormInTray=x", "UnterdrueckenSek=90s", "MsgLines=50", "MsgTime=-5",
                             "Keepalive=10"}));
  stores.push_back(ownStore({"MsgLines=0", "MsgTime=70", "MsgPosition=2", "FormVisible=0",
                             "FormInTray=0", "MsgBackColor=8421504", "MsgFontBold= 2 ",
                             "MsgFontSize=10,5"}));
  stores.push_back(ownStore({"MsgFontName=Verdana", "MsgBackColor=99999999999", "FormInTray=0"}));
  stores.push_back("; written by hand\r\n[Server]\r\nAdresse = 10.0.0.1\r\n[Einstellungen]\r\n"
                   "Z=1\nUnknown=keep me\nA=2\n[Fremd]\nX=y;z\n");
  stores.push_back(QByteArray("[Server\n=no key\n\xFF\xFE\x00\x01 binary\n[]\n==\n", 29));
  return stores;
}

const QByteArray kZentrixStore = "[Statusfarben]\n3=16711680\n4=12abc\n5=gelb\n"
                                 "[BOS-Kennung]\n6= Feuerwehr \n0=\n";

class Corpus {
public:
  explicit Corpus(const QString& root) : root_(root) {}

  void add(const char* fuzzer, const QByteArray& bytes) {
    const QString folder = root_ + u'/' + QString::fromLatin1(fuzzer);
    QDir().mkpath(folder);
    const int number = count_[QString::fromLatin1(fuzzer)]++;
    QFile file(folder + QStringLiteral("/seed-%1").arg(number, 3, 10, QChar(u'0')));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
      std::exit(1);
    }
  }
  int total() const {
    int sum = 0;
    for (int n : count_)
      sum += n;
    return sum;
  }

private:
  QString root_;
  QHash<QString, int> count_;
};

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  Corpus corpus(QString::fromLocal8Bit(argv[1]));
  const std::vector<QStringList> telegrams = telegramCases();

  // Received blocks: the first byte chooses where the network cuts the block.
  for (const QStringList& lines : telegrams) {
    corpus.add("fuzz_dispatch", char(0xFF) + block(lines));
    corpus.add("fuzz_dispatch", char(0x80) + block(lines));
  }

  // The wire path: option bytes, then blocks, each after the first led by an action byte.
  const QByteArray headers[] = {QByteArray("\xFF\x1E\x1E\x3C", 4), QByteArray("\x3F\x01\x1E\x3C", 4),
                                QByteArray("\x3D\x03\x00\x3C", 4), QByteArray("\x00\x1E\x1E\x3C", 4)};
  for (const QByteArray& header : headers)
    for (const QStringList& lines : telegrams)
      corpus.add("fuzz_wire_path", header + block(lines));
  QByteArray all = headers[0];
  for (std::size_t i = 0; i < telegrams.size(); ++i)
    all += (i ? QByteArray("\x1E\x18") : QByteArray()) + block(telegrams[i]); // 1 s, timers
  corpus.add("fuzz_wire_path", all);
  // The traffic mode: a vehicle, three minutes of quiet, control-centre orders, a vehicle again;
  // then the tray, a right-click hold and the timers.
  QByteArray traffic = headers[0] + block({tabFms("2", "0")});
  traffic += "\x1E\x06" + block({tabFms("3", "1"), tabFms("3", "1"), tabFms("3", "1"),
                                 tabFms("3", "1"), control("9"), control("10", "Text")});
  traffic += "\x1E\x02" + block({vehicle("2")});
  traffic += "\x1E\xA1" + block({"ZVEI\t12345"}) + "\x1E\x5B" + block({"ZVEI\t23456"});
  corpus.add("fuzz_wire_path", traffic);

  // Files read at start: the sample data set of both products, then stores (choice 11).
  QTemporaryDir dir;
  SampleDataSet::standard().write(QDir(dir.path()));
  const char* const files[] = {"StatusF.DAT",          "StatusL.DAT",
                               "Folgetlg.DAT",         "Fahrzeug.Dat",
                               "Ton5.dat",             "POCSAG.DAT",
                               "Settings/BOSList.wbr", "Settings/ClientList.wbr",
                               "Settings/FahrzeugMelder.wbr", "Orte.txt",
                               "Ersetzen.txt"};
  for (std::size_t i = 0; i < std::size(files); ++i) {
    QFile file(QDir(dir.path()).filePath(QString::fromLatin1(files[i])));
    if (!file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "the sample data set lacks %s\n", files[i]);
      return 1;
    }
    corpus.add("fuzz_data_files", char(i) + file.readAll());
  }
  for (const QByteArray& store : storeCases()) {
    corpus.add("fuzz_data_files", char(std::size(files)) + store);
    corpus.add("fuzz_settings_round_trip", QByteArray(2, '\0') + store);
  }
  // A store of the first server product after the program's own (the cut is byte 1).
  const QByteArray own = storeCases()[1];
  corpus.add("fuzz_settings_round_trip",
             QByteArray(1, '\1') + char(own.size() * 256 / (own.size() + kZentrixStore.size())) +
                 own + kZentrixStore);
  // The bridge: multimon-ng's lines as the parser's tests give them (option byte 1: the German
  // set), and the JSON the receiver's bridge publishes, with what a broker may bring besides.
  corpus.add("fuzz_multimon_lines",
             QByteArray("\1") +
                 "ZVEI1: 21001\nZVEI1: 2E3E4\nZVEI1: 21FMS: garbage\n0E1\nZVEI1: E1234\n"
                 "POCSAG512: Address: 1000001  Function: 2  Alpha:   ]bung<LF>Zug 1<EOT><NUL>\n"
                 "POCSAG1200: Address: 1000003  Function: 0  Numeric: [0]\n"
                 "POCSAG1200: Address: 12345678  Function: 0\nmultimon-ng 1.2.0\n");
  corpus.add("fuzz_multimon_lines",
             QByteArray("\0") +
                 "FMS: 371315910146 (6=Feuerwehr     \t4=Berlin          \tOrt 0x10=016\tFZG "
                 "1951\tStatus 3=Einsatz Ab    \t0=FZG->LST\t0=I  (ohneNA,ohneSIGNAL)\t) CRC "
                 "correct AFTER SWAPPING ONE BIT\r\n"
                 "FMS: 301311012146 (6=Feuerwehr     \t4=Berlin          \tOrt 0x12=018\tFZG "
                 "1011\tStatus 3=Einsatz Ab    \t0=FZG->LST\t0=I  (ohneNA,ohneSIGNAL)\t) CRC "
                 "INCORRECT (20)\n");
  const QByteArray json =
      R"({"id":"run-1","site":"wache","time":"2026-12-08T12:00:00.000Z","kind":"zvei",)"
      R"("fields":{"code":"21001"},"line":"ZVEI\t21001"})";
  corpus.add("fuzz_mqtt_payloads", '\0' + json + "\x1E\2" + json + "\x1E\1" + json);
  corpus.add("fuzz_mqtt_payloads",
             QByteArray("\0") + R"({"id":"a","line":"POC\t1234567\tA\tBrand"})" + "\x1E\0" +
                 R"({"id":"b","line":"ZVEI\t1\r\nExit"})" + "\x1E\0[1,2]\x1E\0");
  std::printf("%d seed files in %s\n", corpus.total(), argv[1]);
  return 0;
}
