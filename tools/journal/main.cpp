// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-journal: export, count and check the journal of received telegrams.

#include "app/qt_german_texts.h"
#include "base/utf8_console.h"
#include "journal/journal_connection.h"
#include "journal/journal_export.h"
#include "journal/journal_reader.h"
#include "journal/journal_schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>
#include <cstdio>
#if defined(Q_OS_WIN)
#include <fcntl.h>
#include <io.h>
#endif

using namespace meldlux;

namespace {

constexpr int kUsage = 2;

int usage(const QString& text) {
  std::fprintf(stderr, "meldlux-journal: %s\n", qUtf8Printable(text));
  return kUsage;
}

QString defaultPath() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
      .filePath(QStringLiteral("journal.sqlite"));
}

enum class DayOnly { Start, End };

// "TT.MM.JJJJ[ hh:mm[:ss]]" or "JJJJ-MM-TT[Thh:mm[:ss]]", local time. A day without a time is
// its start, or for the end of a span its end, as in the history window.
bool parseWhen(const QString& text, DayOnly dayOnly, OleDate& out) {
  static const char* const formats[] = {"dd.MM.yyyy hh:mm:ss", "dd.MM.yyyy hh:mm",
                                        "yyyy-MM-ddThh:mm:ss", "yyyy-MM-ddThh:mm",
                                        "yyyy-MM-dd hh:mm:ss", "yyyy-MM-dd hh:mm"};
  for (const char* format : formats) {
    const QDateTime t = QDateTime::fromString(text.trimmed(), QString::fromLatin1(format));
    if (t.isValid()) {
      out = toOleDate(t);
      return true;
    }
  }
  for (const char* format : {"dd.MM.yyyy", "yyyy-MM-dd"}) {
    const QDate day = QDate::fromString(text.trimmed(), QString::fromLatin1(format));
    if (day.isValid()) {
      out = toOleDate(QDateTime(dayOnly == DayOnly::End ? day.addDays(1) : day, QTime(0, 0)));
      return true;
    }
  }
  return false;
}

void addCommon(QCommandLineParser& p, const QString& description) {
  p.setApplicationDescription(description);
  p.addHelpOption();
  p.addOption({QStringLiteral("file"),
               QStringLiteral("Das Journal (Vorgabe: %1).").arg(defaultPath()),
               QStringLiteral("Pfad"), defaultPath()});
}

void addFilter(QCommandLineParser& p) {
  p.addOption({QStringLiteral("since"),
               QStringLiteral("Ab diesem Zeitpunkt (TT.MM.JJJJ [hh:mm[:ss]] oder JJJJ-MM-TT)."),
               QStringLiteral("Zeit")});
  p.addOption({QStringLiteral("until"),
               QStringLiteral("Vor diesem Zeitpunkt; ein Tag ohne Uhrzeit zählt ganz mit."),
               QStringLiteral("Zeit")});
  p.addOption({QStringLiteral("kind"),
               QStringLiteral("Nur diese Arten, durch Kommas getrennt: fms_vehicle, fms_control, "
                              "zvei, pocsag, text, load_fault, supervision."),
               QStringLiteral("Arten")});
}

// Fills the filter; an error text when an option is wrong.
QString filterOf(const QCommandLineParser& p, JournalFilter& filter) {
  if (p.isSet(QStringLiteral("since")) &&
      !parseWhen(p.value(QStringLiteral("since")), DayOnly::Start, filter.from))
    return QStringLiteral("--since: kein Zeitpunkt: ") + p.value(QStringLiteral("since"));
  if (p.isSet(QStringLiteral("until")) &&
      !parseWhen(p.value(QStringLiteral("until")), DayOnly::End, filter.until))
    return QStringLiteral("--until: kein Zeitpunkt: ") + p.value(QStringLiteral("until"));
  if (p.isSet(QStringLiteral("kind")))
    for (const QString& name : p.value(QStringLiteral("kind")).split(u',', Qt::SkipEmptyParts)) {
      JournalKind kind;
      if (!journalKindFromName(name.trimmed(), kind))
        return QStringLiteral("--kind: unbekannte Art: ") + name;
      filter.kinds << kind;
    }
  return {};
}

// Parses the sub-command's arguments; -1 to go on, else the exit code.
int parse(QCommandLineParser& p, const QStringList& args, const char* command) {
  if (!p.parse(args))
    return usage(p.errorText());
  if (p.isSet(QStringLiteral("help"))) {
    // Qt's first line names the program by its path and knows no sub-command.
    QString text = p.helpText();
    text.replace(
        0, text.indexOf(u'\n'),
        QStringLiteral("Aufruf: meldlux-journal %1 [Optionen]").arg(QLatin1String(command)));
    std::fputs(qUtf8Printable(text), stdout);
    return 0;
  }
  if (!p.positionalArguments().isEmpty())
    return usage(QStringLiteral("unerwartetes Argument: ") + p.positionalArguments().first());
  return -1;
}

// Why `path` cannot be read as a journal, as a sentence; empty when it can.
QString journalProblem(const QString& path) {
  if (!QFileInfo(path).isFile())
    return QStringLiteral("Unter %1 liegt kein Journal.").arg(path);
  JournalConnection connection(path, true);
  QString why = connection.error();
  if (why.isEmpty())
    why = JournalSchema::whyNoJournal(connection.db());
  return why.isEmpty() ? why
                       : QStringLiteral("%1 ist kein Journal von Meldlux: %2.").arg(path, why);
}

bool isJournal(const QString& path) {
  const QString problem = journalProblem(path);
  if (!problem.isEmpty())
    std::fprintf(stderr, "meldlux-journal: %s\n", qUtf8Printable(problem));
  return problem.isEmpty();
}

int runExport(const QStringList& args) {
  QCommandLineParser p;
  addCommon(p, QStringLiteral("Schreibt die Telegramme des Journals, die ältesten zuerst, auf die "
                              "Standardausgabe."));
  addFilter(p);
  p.addOption({QStringLiteral("format"),
               QStringLiteral("csv (für Tabellenkalkulationen) oder jsonl (JSON, eine Zeile je "
                              "Telegramm)."),
               QStringLiteral("Format"), QStringLiteral("csv")});
  if (const int code = parse(p, args, "export"); code >= 0)
    return code;
  JournalFilter filter;
  if (const QString e = filterOf(p, filter); !e.isEmpty())
    return usage(e);
  const QString format = p.value(QStringLiteral("format"));
  if (format != u"csv" && format != u"jsonl")
    return usage(QStringLiteral("--format: csv oder jsonl, nicht ") + format);
  const QString path = p.value(QStringLiteral("file"));
  if (!isJournal(path))
    return 1;
  JournalReader reader(path);
  if (!reader.error().isEmpty())
    return usage(reader.error()), 1;
  QFile out;
  if (!out.open(stdout, QIODevice::WriteOnly))
    return 1;
  const bool csv = format == u"csv";
  if (csv)
    out.write(csvHeader());
  const bool ok = reader.forEach(filter, [&](const JournalEntry& e) {
    out.write(csv ? csvRow(e) : jsonLine(e));
    return true;
  });
  out.flush();
  if (!ok)
    std::fprintf(stderr, "meldlux-journal: %s\n", qUtf8Printable(reader.lastError()));
  return ok ? 0 : 1;
}

int runStats(const QStringList& args) {
  QCommandLineParser p;
  addCommon(p, QStringLiteral("Zählt die Telegramme je Tag und Art."));
  addFilter(p);
  if (const int code = parse(p, args, "stats"); code >= 0)
    return code;
  JournalFilter filter;
  if (const QString e = filterOf(p, filter); !e.isEmpty())
    return usage(e);
  const QString path = p.value(QStringLiteral("file"));
  if (!isJournal(path))
    return 1;
  JournalReader reader(path);
  const auto counts = reader.perDayAndKind(filter);
  if (!reader.error().isEmpty() || !reader.lastError().isEmpty()) {
    std::fprintf(stderr, "meldlux-journal: %s%s\n", qUtf8Printable(reader.error()),
                 qUtf8Printable(reader.lastError()));
    return 1;
  }
  QTextStream out(stdout);
  out << "Tag;Art;Anzahl\n";
  for (const auto& [key, n] : counts)
    out << key.first.toString(QStringLiteral("dd.MM.yyyy")) << ';' << journalKindName(key.second)
        << ';' << n << '\n';
  return 0;
}

int runCheck(const QStringList& args) {
  QCommandLineParser p;
  addCommon(p, QStringLiteral("Prüft das Journal: gibt \"ok\" aus und endet mit 0, sonst was nicht "
                              "stimmt und endet mit 1."));
  if (const int code = parse(p, args, "check"); code >= 0)
    return code;
  const QString path = p.value(QStringLiteral("file"));
  QString result = journalProblem(path);
  if (result.isEmpty()) {
    JournalConnection connection(path, true);
    result = connection.error();
    if (result.isEmpty())
      result = JournalSchema::check(connection.db());
  }
  std::printf("%s\n", qUtf8Printable(result));
  return result == u"ok" ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
  const Utf8Console console;
#if defined(Q_OS_WIN)
  // The output is bytes as written: the CSV's lines end in CR LF of their own, and Windows'
  // text mode would put another CR before each LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  QCoreApplication app(argc, argv);
  // The program's own name, so that the default file is the one meldlux writes.
  QCoreApplication::setApplicationName(QStringLiteral("meldlux"));
  QCoreApplication::setApplicationVersion(QStringLiteral(MELDLUX_VERSION));
  const auto qtGermanTexts = installQtGermanTexts(); // Qt's own words in --help
  QStringList args = app.arguments();
  const QString command = args.size() > 1 ? args.at(1) : QString();
  if (command == u"--version" || command == u"-v") {
    std::printf("meldlux-journal %s\n", MELDLUX_VERSION);
    return 0;
  }
  const QString overview = QStringLiteral(
      "Aufruf: meldlux-journal export|stats|check [Optionen]\n"
      "  export  die Telegramme als CSV oder JSON-Zeilen (--since, --until, --kind, --format)\n"
      "  stats   Telegramme je Tag und Art\n"
      "  check   ob die Datei ein unbeschädigtes Journal ist\n"
      "Jeder Befehl kennt --help; --version gibt die Version aus.\n");
  if (command == u"--help" || command == u"-h") {
    std::fputs(qUtf8Printable(overview), stdout);
    return 0;
  }
  args.removeAt(1 < args.size() ? 1 : 0);
  if (command == u"export")
    return runExport(args);
  if (command == u"stats")
    return runStats(args);
  if (command == u"check")
    return runCheck(args);
  std::fputs(qUtf8Printable(overview), stderr);
  return kUsage;
}
