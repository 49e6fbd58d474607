// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/save_settings.h"

#include "base/event_log.h"
#include "base/formats.h"
#include "base/numbers.h"
#include "settings/setting_keys.h"
#include "settings/setting_text.h"
#include "settings/settings_store.h"
#include "state/options.h"
#include "state/popup_appearance.h"
#include "tables/status_tables.h"

namespace meldlux {

namespace {

QString zeroOne(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

QString singleText(double value) {
  return formatDecimal(fitsSingle(value) ? double(float(value)) : value);
}

} // namespace

SaveSettings::SaveSettings(SettingsStore& store, const Options& options, const StatusTables& tables,
                           const PopupAppearance& popup, EventLog& log)
    : store_(store), options_(options), tables_(tables), popup_(popup), log_(log) {}

QString SaveSettings::textOf(const SettingKey& key, bool mainWindowVisible) const {
  switch (key.target) {
  case SettingTarget::StatusColour:
    return QString::number(tables_.colours.at(std::size_t(key.control)));
  case SettingTarget::TextBox:
    return options_.text(Text(key.control));
  case SettingTarget::CheckBox:
    return QString::number(options_.value(Check(key.control)));
  case SettingTarget::WidthPercent:
    return singleText(double(options_.PopupWidthPercent));
  case SettingTarget::LeftPercent:
    return singleText(double(options_.PopupLeftPercent));
  case SettingTarget::Position:
    return zeroOne(options_.selectedPosition() == 1);
  case SettingTarget::PasswordChar:
    return options_.passwordChar();
  case SettingTarget::FontName:
    return popup_.font().name;
  case SettingTarget::FontSize:
    return singleText(popup_.font().size);
  case SettingTarget::FontBold:
    return SettingText::fromBoolean(popup_.font().bold);
  case SettingTarget::FontItalic:
    return SettingText::fromBoolean(popup_.font().italic);
  case SettingTarget::BackColor:
    return QString::number(popup_.backColor());
  case SettingTarget::InTray:
    return zeroOne(options_.InTray);
  case SettingTarget::SuppressSeconds:
    return QString::number(options_.SuppressSeconds);
  case SettingTarget::FormVisible:
    return zeroOne(mainWindowVisible);
  }
  return {};
}

std::vector<SettingsStore::Entry> SaveSettings::entries(bool mainWindowVisible) const {
  std::vector<SettingsStore::Entry> out;
  for (const char* name : SettingKeys::saveOrder()) {
    const SettingKey& key = SettingKeys::byName(QString::fromLatin1(name));
    out.push_back({key.sectionText(), key.nameText(), textOf(key, mainWindowVisible)});
  }
  return out;
}

void SaveSettings::write(const std::vector<SettingsStore::Entry>& entries, const QString& why) {
  store_.write(QString::fromLatin1(SettingsStore::kApplication), entries);
  log_.write(u"saved", why.isEmpty() ? QStringList() : QStringList{why});
}

} // namespace meldlux
