// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/fit_text_qt.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace meldlux {

namespace {

bool fits(const QFont& font, const QString& text, const QSize& area, bool wrap) {
  const int flags = Qt::AlignCenter | (wrap ? Qt::TextWordWrap : 0);
  const QRect bounds = QFontMetrics(font).boundingRect(QRect(QPoint(0, 0), area), flags, text);
  return bounds.width() <= area.width() && bounds.height() <= area.height();
}

} // namespace

QFont fittedFont(const QFont& base, const QString& text, const QSize& area, bool wrap, int maximum,
                 int minimum) {
  QFont font = base;
  int low = minimum;
  int high = std::max(minimum, maximum > 0 ? std::min(maximum, area.height()) : area.height());
  // Binary search: about ten measurements for a full-screen area.
  while (low < high) {
    const int middle = (low + high + 1) / 2;
    font.setPixelSize(middle);
    if (fits(font, text, area, wrap))
      low = middle;
    else
      high = middle - 1;
  }
  font.setPixelSize(low);
  return font;
}

FitText::FitText(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored); // the layout gives the room
}

void FitText::setText(const QString& text) {
  if (text == text_)
    return;
  text_ = text;
  fit();
  update();
}

QRect FitText::inner() const {
  return rect().adjusted(kMargin, kMargin / 2, -kMargin, -kMargin / 2);
}

void FitText::setWrap(bool wrap) {
  wrap_ = wrap;
  fit();
}

void FitText::setCeiling(int pixels) {
  if (pixels == ceiling_)
    return;
  ceiling_ = pixels;
  fit();
  update();
}

void FitText::fit() {
  if (text_.isEmpty() || inner().isEmpty())
    return;
  fitted_ = fittedFont(font(), text_, inner().size(), wrap_, ceiling_);
}

void FitText::resizeEvent(QResizeEvent* event) {
  fit();
  QWidget::resizeEvent(event);
}

void FitText::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange)
    fit();
  QWidget::changeEvent(event);
}

void FitText::paintEvent(QPaintEvent*) {
  if (text_.isEmpty())
    return;
  QPainter painter(this);
  painter.setFont(fitted_);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(inner(), int(alignment_) | (wrap_ ? Qt::TextWordWrap : 0), text_);
}

} // namespace meldlux
