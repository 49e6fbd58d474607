// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/message_list.h"

#include "base/failure.h"
#include "base/formats.h"
#include "base/numbers.h"

#include <algorithm>

namespace meldlux {

const MessageEntry& MessageList::operator[](int index) const {
  if (index < 0 || index >= kSize)
    throw Failure(QStringLiteral("Index außerhalb des gültigen Bereichs: %1").arg(index));
  return entries_[std::size_t(index)];
}

const QString& MessageList::timeCaption(int index) const {
  (void)operator[](index);
  return captions_[std::size_t(index)].time;
}

const QString& MessageList::textCaption(int index) const {
  (void)operator[](index);
  return captions_[std::size_t(index)].text;
}

void MessageList::push(MessageEntry entry) {
  std::move_backward(entries_.begin(), entries_.end() - 1, entries_.end());
  std::move_backward(captions_.begin(), captions_.end() - 1, captions_.end());
  captions_[0] = Captions{formatTime(entry.Time), trimSpaces(entry.Text)};
  entries_[0] = std::move(entry);
}

bool MessageList::containsRecent(const QString& text, double nowSeconds,
                                 double suppressSeconds) const {
  const QStringView wanted = trimmedSpaces(text);
  for (const MessageEntry& e : entries_) {
    if (e.Time == 0)
      continue;
    if (nowSeconds < e.Time * kSecondsPerDay + suppressSeconds && trimmedSpaces(e.Text) == wanted)
      return true;
  }
  return false;
}

} // namespace meldlux
