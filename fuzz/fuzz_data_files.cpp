// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes as one of the files the program reads at start: a reference file of
// either server product, a user list, or the settings store. Loading may end in a failure (the
// start-up trap), but nothing may crash or hang, and a store once written by us must read back
// as it was written.
#include "app/reference_data_check.h"
#include "qt_application.h"
#include "settings/verbatim_ini_format.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdint>
#include <cstdlib>

namespace {

// The first byte of an input chooses the file; the rest is its content.
const char* const kFiles[] = {"StatusF.DAT",
                              "StatusL.DAT",
                              "Folgetlg.DAT",
                              "Fahrzeug.Dat",
                              "Ton5.dat",
                              "POCSAG.DAT",
                              "Settings/BOSList.wbr",
                              "Settings/ClientList.wbr",
                              "Settings/FahrzeugMelder.wbr",
                              "Orte.txt",
                              "Ersetzen.txt"};
constexpr std::size_t kFileCount = sizeof kFiles / sizeof kFiles[0];

void storeRoundTrip(const QByteArray& bytes) {
  using meldlux::VerbatimIniFormat;
  // Writing cuts a value at a line break, so the first write may lose what a line cannot hold;
  // from then on the file stays the same.
  const QByteArray once = VerbatimIniFormat::serialize(VerbatimIniFormat::parse(bytes));
  const QByteArray twice = VerbatimIniFormat::serialize(VerbatimIniFormat::parse(once));
  if (once != twice)
    std::abort();
}

void loadAsFile(std::size_t which, const QByteArray& bytes) {
  static QTemporaryDir dir; // one folder for the whole run; each input leaves one file there
  const QDir data(dir.path());
  data.mkpath(QStringLiteral("Settings"));
  for (const char* name : kFiles)
    QFile::remove(data.filePath(QString::fromLatin1(name)));
  QFile file(data.filePath(QString::fromLatin1(kFiles[which])));
  if (!file.open(QIODevice::WriteOnly))
    std::abort();
  file.write(bytes);
  file.close();
  QString report;
  QTextStream out(&report);
  meldlux::RunReferenceDataCheck(data, out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  needQtApplication("fuzz_data_files");
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  const std::size_t which = data[0] % (kFileCount + 1);
  if (which == kFileCount)
    storeRoundTrip(bytes);
  else
    loadAsFile(which, bytes);
  return 0;
}
