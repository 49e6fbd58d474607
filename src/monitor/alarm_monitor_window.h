// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QWidget>
#include <functional>

class QGridLayout;
class QLabel;
class QScreen;
class QVBoxLayout;

namespace meldlux {

class AlarmMonitor;
class FitText;

// "Alarmmonitor": the monitor full-screen, in letters meant for the far end of a vehicle hall.
// Permanent (a hall's screen) it is always shown; otherwise it opens for an alarm and closes
// when the monitor goes idle. A click or Escape ends the alarm. Only what changed is repainted:
// once a second the clock and "seit", a vehicle's tile when its status changes.
class AlarmMonitorWindow final : public QWidget {
  Q_OBJECT
public:
  // `note` hears, once per screen name, that the chosen screen is not there.
  AlarmMonitorWindow(AlarmMonitor& monitor, std::function<void(const QString&)> note,
                     QWidget* parent = nullptr);

  // The screen by its name or its number (1 the first); empty: the primary screen.
  void setScreenName(const QString& name) { screenName_ = name.trimmed(); }
  // Shown all the time (from now), or only during an alarm.
  void setPermanent(bool permanent);
  bool permanent() const { return permanent_; }

  // What the window shows now, line by line, for tests and the acceptance run.
  QStringList texts() const;

Q_SIGNALS:
  // The first paint of the unit's name after an alarm came: the newest alarm's text.
  void alarmPainted(const QString& text);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void showState();
  void showSecond();
  void showRecent();
  void buildTiles();
  void showTile(int index);
  void showOnScreen();
  QScreen* chosenScreen();
  void scaleFonts();
  void fitTiles();

  AlarmMonitor& monitor_;
  std::function<void(const QString&)> note_;
  QString screenName_;
  QStringList noted_;
  bool permanent_ = false;
  bool paintPending_ = false;
  QString paintText_;
  FitText* header_ = nullptr; // idle: the date; in an alarm: time, code and a test's mark
  QLabel* clock_ = nullptr;
  QLabel* since_ = nullptr;
  FitText* name_ = nullptr;
  FitText* text_ = nullptr;
  FitText* list_ = nullptr; // idle: the last alarms; in an alarm: the others
  QWidget* tileArea_ = nullptr;
  QGridLayout* tiles_ = nullptr;
  QList<FitText*> tileLabels_;
  QVBoxLayout* layout_ = nullptr;
};

} // namespace meldlux
