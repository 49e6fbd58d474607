// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/label.h"

#include <QObject>

namespace meldlux {

class EventLog;

enum class Indicator { Sprechwunsch, Spricht };

// The popup's two indicator labels, lblSprechwunsch and lblSpricht. Captions, colours and bold
// are written by the handlers and the traffic-mode notice; every such change is logged.
class Indicators : public QObject {
  Q_OBJECT
public:
  explicit Indicators(EventLog& log, QObject* parent = nullptr);

  const Label& lblSprechwunsch() const { return sprechwunsch_; }
  const Label& lblSpricht() const { return spricht_; }
  const Label& label(Indicator which) const;

  void setCaption(Indicator which, const QString& caption);
  void setForeColor(Indicator which, Colour colour);
  void setBold(Indicator which, bool bold);
  // Layout properties (position, size, font, background, visibility); not logged.
  Label& layout(Indicator which) { return mutableLabel(which); }
  void layoutChanged(Indicator which) { Q_EMIT changed(which); }

Q_SIGNALS:
  void changed(meldlux::Indicator which);

private:
  Label& mutableLabel(Indicator which) {
    return which == Indicator::Sprechwunsch ? sprechwunsch_ : spricht_;
  }
  void logged(Indicator which);

  EventLog& log_;
  Label sprechwunsch_;
  Label spricht_;
};

} // namespace meldlux
