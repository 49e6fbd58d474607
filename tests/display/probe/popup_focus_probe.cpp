// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a window with a text field, gives it the focus, then lets the popup appear with a line.
// Exit 0: the focus stayed with the text field; 1: the popup took it; 77: this display cannot
// give a window the focus at all (nothing to check).
#include "base/clock.h"
#include "base/event_log.h"
#include "display/foreground_qt.h"
#include "display/popup_model.h"
#include "display/popup_window.h"
#include "display/screen_qt.h"
#include "display/text_metrics_qt.h"
#include "refdata/replacements.h"
#include "state/indicators.h"
#include "state/link_state.h"
#include "state/options.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWindow>
#include <cstdio>

namespace {

template <typename Done> bool waitFor(Done done, int ms) {
  QElapsedTimer waited;
  waited.start();
  while (!done() && waited.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

} // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool withoutNoFocusFlags = app.arguments().contains(QStringLiteral("--stealing"));

  QWidget editor;
  auto* field = new QLineEdit(&editor);
  auto* layout = new QVBoxLayout(&editor);
  layout->addWidget(field);
  editor.setGeometry(200, 200, 300, 80);
  editor.show();
  editor.activateWindow();
  field->setFocus();
  if (!waitFor([&] { return QGuiApplication::focusWindow() == editor.windowHandle(); }, 3000)) {
    std::puts("the text field's window never got the focus");
    return 77;
  }

  meldlux::SystemClock clock;
  meldlux::EventLog log;
  meldlux::Options options;
  meldlux::LinkState link;
  meldlux::ReplacementTable replacements;
  meldlux::Indicators indicators(log);
  meldlux::QtScreen screen;
  meldlux::QtTextMetrics metrics;
  meldlux::QtForeground foreground;
  meldlux::PopupModel popup(options, clock, link, replacements, indicators, log,
                            meldlux::PopupPorts{screen, metrics, foreground});
  meldlux::PopupWindow window(popup);
  if (withoutNoFocusFlags) {
    window.setWindowFlag(Qt::WindowDoesNotAcceptFocus, false);
    window.setWindowFlag(Qt::Tool, false);
    window.setAttribute(Qt::WA_ShowWithoutActivating, false);
  }

  QString text = QStringLiteral("Florian Musterstadt 1/46-1 Status 3");
  popup.ShowPopup();
  popup.AddMessage(clock.now(), text, 65280);
  popup.MarkNewestLine();
  popup.RefreshLines();
  popup.LayoutPopup();
  if (!waitFor(
          [&] { return window.windowHandle() != nullptr && window.windowHandle()->isExposed(); },
          3000)) {
    std::puts("the popup was never exposed");
    return 1;
  }
  waitFor([] { return false; }, 500); // give a focus change time to arrive

  const bool kept = QGuiApplication::focusWindow() == editor.windowHandle() && field->hasFocus() &&
                    !window.isActiveWindow();
  std::printf("focus window: %s\n",
              QGuiApplication::focusWindow() == nullptr
                  ? "none"
                  : qPrintable(QGuiApplication::focusWindow()->title().isEmpty()
                                   ? QGuiApplication::focusWindow()->objectName()
                                   : QGuiApplication::focusWindow()->title()));
  return kept ? 0 : 1;
}
