// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace meldlux {

class EventLog;

// TrayTipText: the summary of the last alarm or status, shown as the tray icon's tip. Empty until
// the first summary; every assignment is logged, also one that repeats the text.
class TrayTip : public QObject {
  Q_OBJECT
public:
  explicit TrayTip(EventLog& log, QObject* parent = nullptr);

  const QString& TrayTipText() const { return text_; }
  void assign(const QString& text);

Q_SIGNALS:
  void changed();

private:
  EventLog& log_;
  QString text_;
};

} // namespace meldlux
