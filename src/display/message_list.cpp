#include "display/message_list.h"

#include "base/failure.h"
#include "base/numbers.h"

#include <algorithm>

namespace meldlux {

const MessageEntry& MessageList::operator[](int index) const {
  if (index < 0 || index >= kSize)
    throw Failure(QStringLiteral("Index außerhalb des gültigen Bereichs: %1").arg(index));
  return entries_[std::size_t(index)];
}

void MessageList::push(MessageEntry entry) {
  std::move_backward(entries_.begin(), entries_.end() - 1, entries_.end());
  entries_[0] = std::move(entry);
}

bool MessageList::containsRecent(const QString& text, double nowSeconds,
                                 double suppressSeconds) const {
  const QString wanted = trimSpaces(text);
  for (const MessageEntry& e : entries_) {
    if (e.Time == 0)
      continue;
    if (nowSeconds < e.Time * kSecondsPerDay + suppressSeconds && trimSpaces(e.Text) == wanted)
      return true;
  }
  return false;
}

} // namespace meldlux
