// SPDX-License-Identifier: GPL-3.0-or-later
#include "supervision/watch_event.h"

namespace meldlux {

QString watchKindName(WatchKind kind) {
  switch (kind) {
  case WatchKind::Link: return QStringLiteral("link");
  case WatchKind::Silence: return QStringLiteral("silence");
  case WatchKind::Expected: return QStringLiteral("expected");
  case WatchKind::Receiver: return QStringLiteral("receiver");
  case WatchKind::Fault: return QStringLiteral("fault");
  }
  return {};
}

QString watchPhaseName(WatchPhase phase) {
  switch (phase) {
  case WatchPhase::Warning: return QStringLiteral("warning");
  case WatchPhase::Repeat: return QStringLiteral("repeat");
  case WatchPhase::Recovery: return QStringLiteral("recovery");
  case WatchPhase::Ended: return QStringLiteral("ended");
  }
  return {};
}

} // namespace meldlux
