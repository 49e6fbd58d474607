// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/label.h"

#include <QWidget>

namespace meldlux {

// One label of the popup on screen. It paints what its Label says and reports the mouse; it is
// repainted only when the Label it is given differs from the one it shows.
class PopupLabelWidget : public QWidget {
  Q_OBJECT
public:
  enum class Kind { Zeit, Text, Sprechwunsch, Spricht };

  PopupLabelWidget(Kind kind, int index, double twipsPerPixel, QWidget* parent);

  Kind kind() const { return kind_; }
  int index() const { return index_; }
  const Label& label() const { return label_; }
  // Returns false when nothing changed.
  bool setLabel(const Label& label);

Q_SIGNALS:
  void pressed(meldlux::PopupLabelWidget* label, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers);
  void released(meldlux::PopupLabelWidget* label);
  // Press and release on the same label.
  void clicked(meldlux::PopupLabelWidget* label);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  Kind kind_;
  int index_;
  double twipsPerPixel_;
  Label label_;
  bool havePainted_ = false;
  bool pressedHere_ = false;
};

// 0x00BBGGRR to a colour.
QColor toQColor(Colour colour);
// Twips to logical pixels, kept inside what a window system takes.
int twipsToPixels(int twips, double twipsPerPixel);

} // namespace meldlux
