// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/status_tables.h"

#include "base/failure.h"

namespace meldlux {

namespace {

void checkIndex(int index, int size) {
  if (index < 0 || index >= size)
    throw Failure(QStringLiteral("Index außerhalb des gültigen Bereichs: %1").arg(index));
}

} // namespace

Colour& StatusTables::colour(int status) {
  checkIndex(status, kStatuses);
  return colours[std::size_t(status)];
}

QString& StatusTables::text(int status, int organisation, int direction) {
  checkIndex(status, kStatuses);
  checkIndex(organisation, kOrganisations);
  checkIndex(direction, kDirections);
  return texts[std::size_t(status)][std::size_t(organisation)][std::size_t(direction)];
}

QString& StatusTables::orgCode(int organisation) {
  checkIndex(organisation, kOrganisations);
  return orgCodes[std::size_t(organisation)];
}

} // namespace meldlux
