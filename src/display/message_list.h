// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/ole_date.h"
#include "state/label.h"

#include <QString>
#include <array>

namespace meldlux {

// One line of the popup: when it happened (0 = empty slot), its text and its colour.
struct MessageEntry {
  OleDate Time = 0;
  QString Text;
  Colour colour = 0;
};

// The 31 most recent lines, newest first. Entries only move down and fall off the end.
class MessageList {
public:
  static constexpr int kSize = 31;

  // Throws Failure for an index outside 0..30.
  const MessageEntry& operator[](int index) const;

  // The entry's captions as the popup shows them: time "hh:mm:ss" and text trimmed of spaces.
  // Worked out once per entry, since the popup refreshes every second.
  const QString& timeCaption(int index) const;
  const QString& textCaption(int index) const;

  // Moves every entry one down (the last is lost) and puts the new one at index 0.
  void push(MessageEntry entry);

  // True when a non-empty entry holds the same text (both trimmed of spaces) and nowSeconds lies
  // before its time plus suppressSeconds.
  bool containsRecent(const QString& text, double nowSeconds, double suppressSeconds) const;

private:
  struct Captions {
    QString time;
    QString text;
  };
  std::array<MessageEntry, kSize> entries_{};
  std::array<Captions, kSize> captions_{};
};

} // namespace meldlux
