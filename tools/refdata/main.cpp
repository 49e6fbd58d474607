// SPDX-License-Identifier: GPL-3.0-or-later
// meldlux-refdata: checks a data directory the way the program's start-up loads it, and writes a
// sample data set in both server products' formats.

#include "app/reference_data_check.h"
#include "base/failure.h"
#include "base/utf8_console.h"
#include "refdata/sample_data_set.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

constexpr const char* kUsage = R"(Aufruf:
  meldlux-refdata check [VERZEICHNIS]   Daten laden wie beim Programmstart und prüfen
                                        (ohne Verzeichnis: das Arbeitsverzeichnis).
                                        Rückgabe 0, oder 1 wenn der Start abbrechen würde.
  meldlux-refdata sample [--max] VERZEICHNIS
                                        Beispieldaten beider Serverprodukte schreiben;
                                        mit --max jede Tabelle bis zur Obergrenze gefüllt
                                        (2000 Fahrzeuge, 2500 5Ton-Codes, 2000 POCSAG-Melder,
                                        Folgeorte 1-100, 9500 Orte, 500 Ersetzungen).

Die Beispieldaten (Landkreis "Musterstadt") enthalten unter anderem:
  FMS-Kennungen  64124411 Florian Musterstadt 1/44-1, 64121011 Florian Musterstadt 1/10-1,
                 94128371 Rotkreuz Musterstadt 71/83-1, 84128372 Sama Musterstadt 72/83-1,
                 A4128373 Akkon Musterstadt 73/83-1, B4128574 Johannes Musterstadt 74/85-1,
                 74125221 Heros Musterstadt 21/52-1 (28 Fahrzeuge, siehe Fahrzeug.Dat)
  5Ton-Codes     21001 bis 21004, 21010, 21011, 21020, 23101, 23102, 25555
  POCSAG         1234567 A-D, 1234568 A/D, 2345671 A/B, 2345672 A, 3456781 A/C
  Folgeorte      1-5, 10-12, 20, 21, 30, 100
  Orte.txt       &TRN0A1B2C01E00C0FFEE bis &TRN0A1B2C05E00C0FFEE, &TRN0B2C3D01E00BEEF01 ...
  Ersetzen.txt   Trennzeichen "=", z. B. "Florian Musterstadt" -> "Flo MS"
)";

} // namespace

int main(int argc, char** argv) {
  const meldlux::Utf8Console console;
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  const QStringList args = app.arguments().mid(1);
  const QString command = args.value(0);
  if (command == u"check" && args.size() <= 2) {
    const QDir dir(args.size() == 2 ? args[1] : QDir::currentPath());
    if (!dir.exists()) {
      err << "Verzeichnis nicht gefunden: " << dir.path() << '\n';
      return 2;
    }
    return meldlux::RunReferenceDataCheck(dir, out);
  }
  const bool maximum = args.value(1) == u"--max";
  if (command == u"sample" && args.size() == (maximum ? 3 : 2)) {
    const QString target = args.last();
    try {
      (maximum ? meldlux::SampleDataSet::maximum() : meldlux::SampleDataSet::standard())
          .write(QDir(target));
    } catch (const meldlux::Failure& error) {
      err << error.description() << '\n';
      return 2;
    }
    out << "Beispieldaten geschrieben nach " << QDir(target).absolutePath() << '\n';
    return 0;
  }
  (command == u"--help" || command == u"-h" ? out : err) << kUsage;
  return command == u"--help" || command == u"-h" ? 0 : 2;
}
