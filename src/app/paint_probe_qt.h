// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace meldlux {

class EventLog;
class PopupModel;

// For benchmarks that time a telegram up to the screen: when MELDLUX_EVENT_LOG_PAINT=1 and the
// event log is on, the first paint inside the popup after its newest line changed writes a
// "paint" line with that line's text. Off otherwise, and it changes nothing else.
class PaintProbe : public QObject {
  Q_OBJECT
public:
  PaintProbe(EventLog& log, const QWidget& popup, const PopupModel& model,
             QObject* parent = nullptr);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  EventLog& log_;
  const QWidget& popup_;
  const PopupModel& model_;
  QString painted_;
};

} // namespace meldlux
