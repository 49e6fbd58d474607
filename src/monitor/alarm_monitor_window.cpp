// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/alarm_monitor_window.h"

#include "base/formats.h"
#include "board/vehicle_board.h"
#include "display/popup_label_window.h"
#include "monitor/alarm_monitor.h"
#include "monitor/fit_text_qt.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace meldlux {

namespace {

// Tiles beyond this many would be too small to read across a hall.
constexpr int kMaxTiles = 40;
constexpr int kListText = 48;
const QColor kIdleBack(0x10, 0x10, 0x10);
const QColor kAlarmBack(0x8b, 0x00, 0x00);

QString alarmLine(const MonitorAlarm& alarm) {
  QStringList parts{formatTime(alarm.time), alarm.code};
  if (!alarm.name.trimmed().isEmpty())
    parts << alarm.name.trimmed();
  QString line = parts.join(QStringLiteral("   "));
  // A pager's text may be long: the list keeps its start rather than shrinking every line.
  if (const QString text = alarm.text.trimmed(); !text.isEmpty())
    line +=
        QStringLiteral(" – ") + (text.size() > kListText ? text.left(kListText - 1) + u'…' : text);
  if (alarm.test)
    line += QStringLiteral(" (Test)");
  return line;
}

QLabel* label(QWidget* parent, Qt::Alignment alignment) {
  auto* l = new QLabel(parent);
  l->setAlignment(alignment);
  // The text's width must not move the layout each second: only the label itself repaints.
  l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  return l;
}

void setPixelSize(QWidget* widget, int pixels, bool bold = false) {
  QFont font = widget->font();
  font.setPixelSize(std::max(8, pixels));
  font.setBold(bold);
  widget->setFont(font);
}

} // namespace

AlarmMonitorWindow::AlarmMonitorWindow(AlarmMonitor& monitor,
                                       std::function<void(const QString&)> note, QWidget* parent)
    : QWidget(parent), monitor_(monitor), note_(std::move(note)) {
  setWindowTitle(QStringLiteral("Alarmmonitor"));
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, Qt::white);
  setPalette(colours);

  header_ = new FitText(this);
  header_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header_->setWrap(false);
  clock_ = label(this, Qt::AlignRight | Qt::AlignVCenter);
  since_ = label(this, Qt::AlignCenter);
  name_ = new FitText(this);
  text_ = new FitText(this);
  list_ = new FitText(this);
  list_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  list_->setWrap(false);
  tileArea_ = new QWidget(this);
  tiles_ = new QGridLayout(tileArea_);
  tiles_->setSpacing(6);
  tiles_->setContentsMargins(0, 0, 0, 0);

  auto* top = new QHBoxLayout;
  top->addWidget(header_, 3);
  top->addWidget(clock_, 2);
  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(24, 16, 24, 16);
  layout_->addLayout(top, 2);
  layout_->addWidget(since_, 2);
  layout_->addWidget(name_, 5);
  layout_->addWidget(text_, 4);
  layout_->addWidget(list_, 3);
  layout_->addWidget(tileArea_, 4);

  name_->installEventFilter(this);
  tileArea_->installEventFilter(this);
  connect(&monitor_, &AlarmMonitor::alarmsChanged, this, [this] {
    paintPending_ = true;
    paintText_ = monitor_.alarms().front().text;
    showState();
    if (!isVisible()) // also a permanent monitor someone closed: an alarm is always shown
      showOnScreen();
  });
  connect(&monitor_, &AlarmMonitor::wentIdle, this, [this] {
    showState();
    if (!permanent_)
      hide();
  });
  connect(&monitor_, &AlarmMonitor::recentChanged, this, [this] {
    if (!monitor_.active())
      showRecent();
  });
  connect(&monitor_, &AlarmMonitor::secondPassed, this, &AlarmMonitorWindow::showSecond);
  connect(&monitor_, &AlarmMonitor::vehicleRowsChanged, this, &AlarmMonitorWindow::buildTiles);
  connect(&monitor_, &AlarmMonitor::vehicleChanged, this, &AlarmMonitorWindow::showTile);
  // A screen unplugged or plugged in while the monitor shows: it moves to where it belongs once
  // the list of screens has settled.
  const auto replace = [this] {
    if (isVisible())
      QTimer::singleShot(0, this, &AlarmMonitorWindow::showOnScreen);
  };
  connect(qApp, &QGuiApplication::screenRemoved, this, replace);
  connect(qApp, &QGuiApplication::screenAdded, this, replace);
  buildTiles();
  showState();
}

void AlarmMonitorWindow::setPermanent(bool permanent) {
  permanent_ = permanent;
  if (permanent_)
    showOnScreen();
  else if (!monitor_.active())
    hide();
}

QScreen* AlarmMonitorWindow::chosenScreen() {
  if (screenName_.isEmpty())
    return QGuiApplication::primaryScreen();
  const QList<QScreen*> screens = QGuiApplication::screens();
  bool isNumber = false;
  const int number = screenName_.toInt(&isNumber);
  if (isNumber && number >= 1 && number <= screens.size())
    return screens[number - 1];
  for (QScreen* s : screens)
    if (s->name() == screenName_)
      return s;
  if (!noted_.contains(screenName_)) {
    noted_ << screenName_;
    note_(QStringLiteral("Alarmmonitor: Bildschirm „%1“ nicht gefunden, zeige auf dem "
                         "Hauptbildschirm")
              .arg(screenName_));
  }
  return QGuiApplication::primaryScreen();
}

void AlarmMonitorWindow::showOnScreen() {
  if (QScreen* target = chosenScreen()) {
    setScreen(target);
    setGeometry(target->geometry());
  }
  showFullScreen();
  raise();
}

void AlarmMonitorWindow::showState() {
  const bool alarm = monitor_.active();
  QPalette colours = palette();
  colours.setColor(QPalette::Window, alarm ? kAlarmBack : kIdleBack);
  setPalette(colours);
  // Idle, the recent alarms and the vehicles share the room; in an alarm it is the alarm's.
  layout_->setStretchFactor(list_, alarm ? 2 : 5);
  layout_->setStretchFactor(tileArea_, alarm ? 4 : 7);
  since_->setVisible(alarm);
  name_->setVisible(alarm);
  text_->setVisible(alarm);
  if (alarm) {
    const MonitorAlarm& newest = monitor_.alarms().front();
    QString head = QStringLiteral("Alarm %1   %2").arg(formatTime(newest.time), newest.code);
    if (newest.test)
      head += QStringLiteral("   TEST");
    header_->setText(head);
    name_->setText(newest.name.trimmed().isEmpty() ? newest.code : newest.name.trimmed());
    text_->setText(newest.text.trimmed());
    QStringList others;
    for (qsizetype i = 1; i < monitor_.alarms().size(); ++i)
      others << alarmLine(monitor_.alarms()[i]);
    list_->setText(others.isEmpty() ? QString()
                                    : QStringLiteral("Weitere Alarme:\n") + others.join(u'\n'));
    list_->setVisible(!others.isEmpty());
  } else {
    list_->show();
    showRecent();
  }
  showSecond();
  update();
}

void AlarmMonitorWindow::showRecent() {
  QStringList lines;
  for (const MonitorAlarm& a : monitor_.recent())
    lines << alarmLine(a);
  list_->setText(QStringLiteral("Letzte Alarme:\n") +
                 (lines.isEmpty() ? QStringLiteral("keine") : lines.join(u'\n')));
}

void AlarmMonitorWindow::showSecond() {
  clock_->setText(monitor_.clockText());
  if (monitor_.active())
    since_->setText(monitor_.sinceText());
  else
    header_->setText(monitor_.dateText());
}

void AlarmMonitorWindow::buildTiles() {
  qDeleteAll(tileLabels_);
  tileLabels_.clear();
  const QList<int>& rows = monitor_.vehicleRows();
  const int count = int(std::min<qsizetype>(rows.size(), kMaxTiles));
  const int columns = std::max(1, int(std::ceil(std::sqrt(count * 2.0))));
  for (int i = 0; i < count; ++i) {
    auto* tile = new FitText(tileArea_);
    tile->setAutoFillBackground(true);
    tiles_->addWidget(tile, i / columns, i % columns);
    tileLabels_ << tile;
    showTile(i);
  }
  scaleFonts();
  QTimer::singleShot(0, this, &AlarmMonitorWindow::fitTiles);
}

void AlarmMonitorWindow::showTile(int index) {
  if (index < 0 || index >= tileLabels_.size())
    return;
  const VehicleBoard& board = monitor_.board();
  const int row = monitor_.vehicleRows()[index];
  FitText* tile = tileLabels_[index];
  const QVariant back =
      board.data(board.index(row, VehicleBoard::Status), VehicleBoard::ColourRole);
  QPalette colours = tile->palette();
  if (back.isValid()) {
    colours.setColor(QPalette::Window, toQColor(back.value<Colour>()));
    colours.setColor(
        QPalette::WindowText,
        toQColor(board.data(board.index(row, VehicleBoard::Status), VehicleBoard::TextColourRole)
                     .value<Colour>()));
  } else {
    colours.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    colours.setColor(QPalette::WindowText, Qt::white);
  }
  tile->setPalette(colours);
  const QString status =
      board.data(board.index(row, VehicleBoard::Status), Qt::DisplayRole).toString();
  const QString text =
      board.rowAt(row).name + u'\n' + (status.isEmpty() ? QStringLiteral("–") : status);
  if (text != tile->text()) {
    tile->setText(text);
    fitTiles();
  }
}

void AlarmMonitorWindow::fitTiles() {
  // One size for every tile, the largest at which the longest text fits: a hall reads a grid
  // of equal letters faster than a patchwork.
  if (tileLabels_.isEmpty() || tileLabels_.front()->size().isEmpty())
    return;
  int common = std::max(12, height() / 20);
  for (const FitText* tile : tileLabels_)
    common = std::min(
        common, fittedFont(tile->font(), tile->text(), tile->size(), true, common).pixelSize());
  for (FitText* tile : tileLabels_)
    tile->setCeiling(common);
}

void AlarmMonitorWindow::scaleFonts() {
  // One unit of type per twentieth of the screen's height: a 1080-line screen writes the clock
  // about 100 pixels high.
  const int unit = std::max(12, std::min(height() / 20, width() / 32));
  QFont bold = font();
  bold.setBold(true);
  header_->setFont(bold);
  setPixelSize(clock_, unit * 2, true);
  setPixelSize(since_, unit * 2, true);
  name_->setFont(bold);
  text_->setFont(font());
  list_->setCeiling(unit);
  for (FitText* tile : tileLabels_)
    tile->setFont(bold);
}

void AlarmMonitorWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  scaleFonts();
}

bool AlarmMonitorWindow::eventFilter(QObject* watched, QEvent* event) {
  // The tiles have their new sizes once the grid has run after the area's.
  if (watched == tileArea_ && event->type() == QEvent::Resize)
    QTimer::singleShot(0, this, &AlarmMonitorWindow::fitTiles);
  if (watched == name_ && event->type() == QEvent::Paint && paintPending_) {
    paintPending_ = false;
    Q_EMIT alarmPainted(paintText_);
  }
  return QWidget::eventFilter(watched, event);
}

void AlarmMonitorWindow::mousePressEvent(QMouseEvent*) { monitor_.dismiss(); }

void AlarmMonitorWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    monitor_.dismiss();
  else
    QWidget::keyPressEvent(event);
}

QStringList AlarmMonitorWindow::texts() const {
  QStringList out{header_->text(), clock_->text()};
  if (monitor_.active())
    out << since_->text() << name_->text() << text_->text();
  out << list_->text().split(u'\n');
  for (const FitText* tile : tileLabels_)
    out << tile->text().replace(u'\n', u' ');
  out.removeAll(QString());
  return out;
}

} // namespace meldlux
