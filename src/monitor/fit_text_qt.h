// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

namespace meldlux {

// The largest pixel size (between minimum and the area's height, or maximum when that is
// smaller) at which the text, wrapped at word boundaries when `wrap`, fits into the area in that
// font's family and weight.
QFont fittedFont(const QFont& base, const QString& text, const QSize& area, bool wrap = true,
                 int maximum = 0, int minimum = 8);

// A text as large as its area allows, wrapped and centred: the unit's name and the alarm text
// must be read from across a vehicle hall. The size is worked out when the text or the area
// changes, never while painting.
class FitText final : public QWidget {
  Q_OBJECT
public:
  explicit FitText(QWidget* parent = nullptr);

  void setText(const QString& text);
  QString text() const { return text_; }
  void setAlignment(Qt::Alignment alignment) { alignment_ = alignment; }
  // Lines break only where the text has its own line breaks.
  void setWrap(bool wrap);
  // No larger than this many pixels (0: as large as the area allows).
  void setCeiling(int pixels);

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  static constexpr int kMargin = 8; // letters never touch a tile's edge
  QRect inner() const;
  void fit();

  QString text_;
  QFont fitted_;
  Qt::Alignment alignment_ = Qt::AlignCenter;
  bool wrap_ = true;
  int ceiling_ = 0;
};

} // namespace meldlux
