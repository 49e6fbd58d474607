// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/label.h"

#include <QObject>
#include <QString>

namespace meldlux {

class EventLog;

// The main window's lblStatus: the link's state, its failures and the receive counts.
class StatusLabel : public QObject {
  Q_OBJECT
public:
  static constexpr Colour kGreen = 65280;
  static constexpr Colour kBlue = 16711680;
  static constexpr Colour kRed = 255;

  explicit StatusLabel(EventLog& log, QObject* parent = nullptr);

  const QString& caption() const { return caption_; }
  Colour colour() const { return colour_; }

  void set(const QString& caption, Colour colour);
  void setCaption(const QString& caption) { set(caption, colour_); }

Q_SIGNALS:
  void changed();

private:
  EventLog& log_;
  QString caption_ = QStringLiteral("Unbekannt");
  Colour colour_ = 0;
};

} // namespace meldlux
