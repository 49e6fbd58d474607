// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/setting_keys.h"

#include "base/failure.h"
#include "state/options.h"

namespace meldlux {

namespace {

constexpr const char* kServer = "Server";
constexpr const char* kSettings = "Einstellungen";
constexpr const char* kSounds = "Sounds";

constexpr int text(Text box) { return int(box); }
constexpr int check(Check box) { return int(box); }

using T = SettingTarget;

} // namespace

const std::array<SettingKey, SettingKeys::kCount>& SettingKeys::loadOrder() {
  static const std::array<SettingKey, kCount> keys{{
      {kSettings, "FarbeFME", "255", T::StatusColour, 16},
      {kSettings, "FarbeDME", "255", T::StatusColour, 17},
      {kServer, "Adresse", "127.0.0.1", T::TextBox, text(Text::txtSrv)},
      {kServer, "Port", "7778", T::TextBox, text(Text::txtSrvPort)},
      {kServer, "PW", "", T::TextBox, text(Text::txtPW)},
      {kSettings, "AutoConnect", "0", T::CheckBox, check(Check::chkAuto)},
      {kServer, "Keepalive", "300", T::TextBox, text(Text::txtKeepalive)},
      {kSettings, "MsgLogOnly", "000;001;002;003;004;005;006;007;008;009;015;106;110", T::TextBox,
       text(Text::txtMsgOnly)},
      {kSettings, "MsgTime", "30", T::TextBox, text(Text::txtMsgTime)},
      {kSettings, "MsgLines", "1", T::TextBox, text(Text::txtMsgLines)},
      {kSettings, "MsgAktiv", "1", T::CheckBox, check(Check::chkMsgAktiv)},
      {kSettings, "MsgVorne", "1", T::CheckBox, check(Check::chkMsgVorne)},
      {kSettings, "HideRIC", "0", T::CheckBox, check(Check::chkHideRIC)},
      {kSettings, "ReClickHide", "1", T::CheckBox, check(Check::chkReClickHide)},
      {kSettings, "ReClickHideSec", "20", T::TextBox, text(Text::txtReClickHide)},
      {kSettings, "MsgBreite", "100", T::WidthPercent},
      {kSettings, "MsgLinks", "0", T::LeftPercent},
      {kSettings, "MsgPosition", "0", T::Position},
      {kSettings, "UnbekFME", "1", T::CheckBox, check(Check::chkUnbekFME)},
      {kSettings, "UnbekFMS", "1", T::CheckBox, check(Check::chkUnbekFMS)},
      {kSettings, "AnzSW", "1", T::CheckBox, check(Check::chkSW)},
      {kSettings, "AnzES", "1", T::CheckBox, check(Check::chkES)},
      {kSounds, "Alarm", "0", T::CheckBox, check(Check::chkSndAlarm)},
      {kSounds, "StatusFzg", "0", T::CheckBox, check(Check::chkSndFzg)},
      {kSounds, "FMSText", "0", T::CheckBox, check(Check::chkSndText)},
      {kSounds, "SA", "0", T::CheckBox, check(Check::chkSndSA)},
      {kSounds, "AlarmFile", "", T::TextBox, text(Text::txtSndAlarm)},
      {kSounds, "StatusFzgFile", "", T::TextBox, text(Text::txtSndFzg)},
      {kSounds, "FMSTextFile", "", T::TextBox, text(Text::txtSndText)},
      {kSounds, "SAFile", "", T::TextBox, text(Text::txtSndSA)},
      {kSettings, "SAKennung", "", T::TextBox, text(Text::txtSndSAKennung)},
      {kSettings, "PWChar", "", T::PasswordChar},
      {kSettings, "MsgFontName", "Arial", T::FontName},
      {kSettings, "MsgFontSize", "10", T::FontSize},
      {kSettings, "MsgFontBold", "0", T::FontBold},
      {kSettings, "MsgFontItalic", "0", T::FontItalic},
      {kSettings, "MsgBackColor", "0", T::BackColor},
      {kSettings, "FormInTray", "1", T::InTray},
      {kSettings, "UnterdrueckenSek", "60", T::SuppressSeconds},
      {kSettings, "FormVisible", "1", T::FormVisible},
  }};
  return keys;
}

const std::array<const char*, SettingKeys::kCount>& SettingKeys::saveOrder() {
  static const std::array<const char*, kCount> names{"Adresse",
                                                     "Port",
                                                     "PW",
                                                     "AutoConnect",
                                                     "Keepalive",
                                                     "MsgLogOnly",
                                                     "PWChar",
                                                     "MsgAktiv",
                                                     "MsgVorne",
                                                     "UnbekFMS",
                                                     "UnbekFME",
                                                     "HideRIC",
                                                     "ReClickHide",
                                                     "ReClickHideSec",
                                                     "AnzSW",
                                                     "AnzES",
                                                     "MsgTime",
                                                     "MsgLines",
                                                     "MsgPosition",
                                                     "MsgFontName",
                                                     "MsgFontSize",
                                                     "MsgFontBold",
                                                     "MsgFontItalic",
                                                     "MsgBackColor",
                                                     "MsgBreite",
                                                     "MsgLinks",
                                                     "FormInTray",
                                                     "FormVisible",
                                                     "UnterdrueckenSek",
                                                     "FarbeFME",
                                                     "FarbeDME",
                                                     "SAKennung",
                                                     "Alarm",
                                                     "StatusFzg",
                                                     "FMSText",
                                                     "SA",
                                                     "AlarmFile",
                                                     "StatusFzgFile",
                                                     "FMSTextFile",
                                                     "SAFile"};
  return names;
}

const SettingKey& SettingKeys::byName(QStringView name) {
  for (const SettingKey& key : loadOrder()) {
    if (name == QLatin1StringView(key.name))
      return key;
  }
  throw Failure(QStringLiteral("Unbekannte Einstellung: %1").arg(name));
}

} // namespace meldlux
