// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/link_settings.h"

#include "settings/settings_store.h"

namespace meldlux {

LinkSettings readLinkSettings(const SettingsStore& store) {
  LinkSettings s;
  s.carrySplitLines = store.read(QString::fromLatin1(SettingsStore::kApplication),
                                 QStringLiteral("Verbindung"), QStringLiteral("CarrySplitLines"),
                                 QStringLiteral("0"))
                          .trimmed() == u"1";
  return s;
}

} // namespace meldlux
