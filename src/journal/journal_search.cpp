// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_search.h"

#include <QByteArrayView>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <sqlite3.h>

namespace meldlux {

namespace {

QString textOf(sqlite3_value* value) {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
  return bytes ? QString::fromUtf8(bytes, sqlite3_value_bytes(value)) : QString();
}

// The needle, folded once per statement. Most texts on the channel are plain ASCII: for those the
// fold is ASCII lower case, and the UTF-8 bytes are searched as they are, without a QString.
bool asciiOnly(QByteArrayView text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80)
      return false;
  return true;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

struct Needle {
  explicit Needle(const QString& text)
      : folded(JournalSearch::fold(text)), bytes(folded.toUtf8()), ascii(asciiOnly(bytes)) {}
  QString folded;
  QByteArray bytes;
  bool ascii;
};

void deleteNeedle(void* needle) { delete static_cast<Needle*>(needle); }

bool holds(const Needle& needle, sqlite3_value* value) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
  const QByteArrayView bytes(text, text ? sqlite3_value_bytes(value) : 0);
  if (!asciiOnly(bytes)) // other letters may fold to ASCII ones ("K" to "k")
    return JournalSearch::fold(textOf(value)).contains(needle.folded);
  if (!needle.ascii)
    return false;
  const qsizetype n = needle.bytes.size();
  for (qsizetype i = 0; i + n <= bytes.size(); ++i) {
    qsizetype k = 0;
    while (k < n && asciiLower(bytes[i + k]) == needle.bytes[k])
      ++k;
    if (k == n)
      return true;
  }
  return false;
}

void contains(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (argc < 1) {
    sqlite3_result_int(context, 0);
    return;
  }
  // The needle is the same for every row of a statement: fold it once and keep it there.
  auto* needle = static_cast<Needle*>(sqlite3_get_auxdata(context, 0));
  if (!needle) {
    sqlite3_set_auxdata(context, 0, new Needle(textOf(argv[0])), deleteNeedle);
    needle = static_cast<Needle*>(sqlite3_get_auxdata(context, 0));
    if (!needle) { // SQLite could not keep it and has freed it already
      sqlite3_result_error_nomem(context);
      return;
    }
  }
  for (int i = 1; i < argc; ++i)
    if (holds(*needle, argv[i])) {
      sqlite3_result_int(context, 1);
      return;
    }
  sqlite3_result_int(context, 0);
}

} // namespace

QString JournalSearch::fold(const QString& text) {
  QString folded = text.toCaseFolded(); // also turns the capital "ẞ" into "ß"
  return folded.replace(u'ß', QLatin1String("ss"));
}

QString JournalSearch::install(QSqlDatabase& db) {
  const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
    return QStringLiteral("no SQLite handle for the search function");
  sqlite3* sqlite = *static_cast<sqlite3* const*>(handle.constData());
  if (!sqlite)
    return QStringLiteral("the journal is not open");
  // The SQLite linked here may be a copy of its own beside the driver's (so on Windows): it is
  // set up before it touches the driver's connection. Once set up, this returns at once.
  if (const int rc = sqlite3_initialize(); rc != SQLITE_OK)
    return QString::fromUtf8(sqlite3_errstr(rc));
  const int rc = sqlite3_create_function_v2(sqlite, "meldlux_contains", -1,
                                            SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, contains,
                                            nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errstr(rc));
}

} // namespace meldlux
