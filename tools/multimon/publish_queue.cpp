// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish_queue.h"

#include <utility>

namespace meldlux::multimon {

bool PublishQueue::push(Telegram telegram) {
  const bool room = size() < capacity_;
  if (!room) {
    items_.pop_front();
    ++dropped_;
  }
  items_.push_back(std::move(telegram));
  return room;
}

PublishQueue::Telegram PublishQueue::takeFront() {
  Telegram front = std::move(items_.front());
  items_.pop_front();
  return front;
}

} // namespace meldlux::multimon
