// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <cstddef>

namespace meldlux {

// Where a stored value goes when it is loaded and where it comes from when it is saved.
enum class SettingTarget {
  StatusColour, // status colour table entry `control`
  TextBox,      // text box `control` (Text)
  CheckBox,     // check box `control` (Check)
  WidthPercent, // PopupWidthPercent, shown in txtMsgBreite
  LeftPercent,  // PopupLeftPercent, shown in txtMsgLinks
  Position,     // OptPosition / PopupPosition
  PasswordChar, // masking character of txtPW
  FontName,     // the popup font
  FontSize,
  FontBold,
  FontItalic,
  BackColor,       // the popup background and the colour sample
  InTray,          // InTray and chkSysTray
  SuppressSeconds, // SuppressSeconds
  FormVisible,     // the main window's visibility after start
};

struct SettingKey {
  const char* section;
  const char* name;
  const char* defaultValue;
  SettingTarget target;
  int control = 0;

  QString sectionText() const { return QString::fromLatin1(section); }
  QString nameText() const { return QString::fromLatin1(name); }
  QString defaultText() const { return QString::fromLatin1(defaultValue); }
};

// The program's own keys (application "MeldluxWBR").
struct SettingKeys {
  static constexpr std::size_t kCount = 40;
  // In the order the keys are loaded.
  static const std::array<SettingKey, kCount>& loadOrder();
  // The key names in the order they are saved.
  static const std::array<const char*, kCount>& saveOrder();
  // A key by its name; an unknown name throws Failure.
  static const SettingKey& byName(QStringView name);
};

} // namespace meldlux
