// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/application.h"
#include "app/main_window.h"
#include "options_window/fake_font_colour_dialog.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace meldlux::testing {

// The real main window on the real object graph, offscreen (19200 twips wide), with the font
// and colour dialog answered in advance.
class MainWindowFixture : public ::testing::Test {
protected:
  MainWindowFixture()
      : app_(std::make_unique<ManualClock>(), std::make_unique<EventLog>(), ports()),
        window_(app_) {}

  template <typename W> W* find(const char* name) {
    auto* widget = window_.findChild<W*>(QString::fromLatin1(name));
    if (!widget)
      ADD_FAILURE() << "no control " << name;
    return widget;
  }
  // A key press at the caret.
  static void type(QWidget* widget, const QString& text, int key = 0) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
  }
  static void retype(QLineEdit* box, const QString& text) {
    box->selectAll();
    for (QChar c : text)
      type(box, QString(c));
  }
  static void mouse(QWidget* widget, QEvent::Type type) {
    const QPointF at(2, 2);
    const bool down = type != QEvent::MouseButtonRelease;
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
  }
  static void click(QWidget* widget) {
    mouse(widget, QEvent::MouseButtonPress);
    mouse(widget, QEvent::MouseButtonRelease);
  }
  Options& options() { return app_.options(); }

  FakeFontColourDialog* dialog_ = nullptr;
  Application app_;
  MainWindow window_;

private:
  DisplayPorts ports() {
    DisplayPorts ports;
    auto fake = std::make_unique<FakeFontColourDialog>();
    dialog_ = fake.get();
    ports.dialog = std::move(fake);
    return ports;
  }
};

} // namespace meldlux::testing
