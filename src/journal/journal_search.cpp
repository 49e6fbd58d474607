#include "journal/journal_search.h"

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

void deleteNeedle(void* needle) { delete static_cast<QString*>(needle); }

void contains(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (argc < 1) {
    sqlite3_result_int(context, 0);
    return;
  }
  // The needle is the same for every row of a statement: fold it once and keep it there.
  auto* needle = static_cast<QString*>(sqlite3_get_auxdata(context, 0));
  if (!needle) {
    needle = new QString(JournalSearch::fold(textOf(argv[0])));
    sqlite3_set_auxdata(context, 0, needle, deleteNeedle);
    needle = static_cast<QString*>(sqlite3_get_auxdata(context, 0));
    if (!needle) { // SQLite could not keep it and has freed it already
      sqlite3_result_error_nomem(context);
      return;
    }
  }
  for (int i = 1; i < argc; ++i)
    if (textOf(argv[i]).toCaseFolded().contains(*needle)) {
      sqlite3_result_int(context, 1);
      return;
    }
  sqlite3_result_int(context, 0);
}

} // namespace

QString JournalSearch::install(QSqlDatabase& db) {
  const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
    return QStringLiteral("no SQLite handle for the search function");
  sqlite3* sqlite = *static_cast<sqlite3* const*>(handle.constData());
  if (!sqlite)
    return QStringLiteral("the journal is not open");
  const int rc = sqlite3_create_function_v2(sqlite, "meldlux_contains", -1,
                                            SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, contains,
                                            nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errstr(rc));
}

} // namespace meldlux
