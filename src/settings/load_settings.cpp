// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/load_settings.h"

#include "base/formats.h"
#include "base/numbers.h"
#include "settings/popup_back_colour.h"
#include "settings/setting_keys.h"
#include "settings/setting_text.h"
#include "settings/settings_store.h"
#include "state/options.h"
#include "state/popup_appearance.h"
#include "tables/builtin_tables.h"
#include "tables/status_tables.h"

namespace meldlux {

namespace {

// The first server product's keys, read from the store under its own application name.
ZentrixReader zentrixReader(const SettingsStore& store) {
  return [&store](const QString& section, const QString& key, const QString& fallback) {
    return store.read(QString::fromLatin1(SettingsStore::kZentrix), section, key, fallback);
  };
}

} // namespace

LoadSettings::LoadSettings(const SettingsStore& store, Options& options, StatusTables& tables,
                           PopupAppearance& popup)
    : store_(store), options_(options), tables_(tables), popup_(popup) {}

QString LoadSettings::read(const SettingKey& key) const {
  return store_.read(QString::fromLatin1(SettingsStore::kApplication), key.sectionText(),
                     key.nameText(), key.defaultText());
}

void LoadSettings::statusColours() {
  // Keys 1 and 2 of the table: FarbeFME and FarbeDME.
  fillStatusColours(tables_, zentrixReader(store_), read(SettingKeys::loadOrder()[0]),
                    read(SettingKeys::loadOrder()[1]));
}

void LoadSettings::organisationCodes() { fillOrgCodes(tables_, zentrixReader(store_)); }

void LoadSettings::serverAddress() { loadKeys(3, 3); }

void LoadSettings::connectionPopupAndSounds() { loadKeys(4, 32); }

void LoadSettings::popupAppearance() {
  // The four font keys make one font for the first labels; the background follows.
  PopupFont font;
  for (std::size_t number = 33; number <= 36; ++number) {
    const SettingKey& key = SettingKeys::loadOrder()[number - 1];
    const QString text = read(key);
    switch (key.target) {
    case SettingTarget::FontName:
      font.name = text;
      break;
    case SettingTarget::FontSize:
      // Taken as it converts; the labels draw any size within what a screen font can show.
      font.size = double(toSingle(SettingText::toDecimal(text)));
      break;
    case SettingTarget::FontBold:
      font.bold = SettingText::toBoolean(text);
      break;
    default:
      font.italic = SettingText::toBoolean(text);
      break;
    }
  }
  popup_.applyFont(font);
  loadKeys(37, 37);
}

void LoadSettings::trayKeys() { loadKeys(38, 39); }

void LoadSettings::trayAndSuppression() {
  trayKeys();
  // The tray icon follows InTray through the box's click rule.
  options_.setChecked(Check::chkSysTray, options_.InTray);
}

void LoadSettings::formVisible() { loadKeys(40, 40); }

void LoadSettings::all() {
  statusColours();
  organisationCodes();
  serverAddress();
  connectionPopupAndSounds();
  popupAppearance();
  trayAndSuppression();
  formVisible();
}

bool LoadSettings::mainWindowStartsHidden(int lockMode) {
  if (lockMode >= 1) {
    options_.InTray = true;
    formVisible_ = QStringLiteral("0");
  }
  return options_.InTray && formVisible_ != u"1";
}

void LoadSettings::loadKeys(std::size_t first, std::size_t last) {
  for (std::size_t number = first; number <= last; ++number)
    load(SettingKeys::loadOrder().at(number - 1));
}

void LoadSettings::load(const SettingKey& key) {
  const QString text = read(key);
  switch (key.target) {
  case SettingTarget::StatusColour:
    tables_.colour(key.control) = colourFromText(text);
    break;
  case SettingTarget::TextBox:
    options_.setText(Text(key.control), text);
    break;
  case SettingTarget::CheckBox:
    options_.setValue(Check(key.control), roundToInt16(leadingNumber(text)));
    break;
  case SettingTarget::WidthPercent:
    options_.PopupWidthPercent = toSingle(leadingNumber(text));
    options_.setText(Text::txtMsgBreite, formatDecimal(double(options_.PopupWidthPercent)));
    break;
  case SettingTarget::LeftPercent:
    options_.PopupLeftPercent = toSingle(leadingNumber(text));
    options_.setText(Text::txtMsgLinks, formatDecimal(double(options_.PopupLeftPercent)));
    break;
  case SettingTarget::Position:
    options_.OptPosition_Click(leadingNumber(text) == 1 ? 1 : 0);
    break;
  case SettingTarget::PasswordChar:
    options_.setPasswordChar(text);
    break;
  case SettingTarget::BackColor:
    applyPopupBackColour(popup_, options_, colourFromText(text));
    break;
  case SettingTarget::InTray:
    options_.InTray = leadingNumber(text) != 0;
    break;
  case SettingTarget::SuppressSeconds:
    options_.SuppressSeconds = roundToInt16(leadingNumber(text));
    break;
  case SettingTarget::FormVisible:
    formVisible_ = text;
    break;
  case SettingTarget::FontName:
  case SettingTarget::FontSize:
  case SettingTarget::FontBold:
  case SettingTarget::FontItalic:
    break; // read together in popupAppearance()
  }
}

} // namespace meldlux
