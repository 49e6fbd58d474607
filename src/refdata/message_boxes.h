// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace meldlux {

// The loaders' modal message boxes: a title, a text, an OK button and, for some, the error icon.
class MessageBoxes {
public:
  enum class Icon { None, Error };
  virtual ~MessageBoxes() = default;
  // Returns when the user has closed the box.
  virtual void show(const QString& title, const QString& text, Icon icon) = 0;
};

} // namespace meldlux
