// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QTableWidget;

namespace meldlux {

class AlarmStation;
class SettingsStore;

// "Alarmregeln": the rules one line each, as an admin also writes them by hand, with the reason
// under a line that cannot be read; the speech settings and the table of what the voice says for
// what. "Speichern" stores all of it and puts it to work; "Testen" stores too, then runs the
// chosen rule as a test alarm.
class AlarmRulesWindow final : public QWidget {
  Q_OBJECT
public:
  AlarmRulesWindow(AlarmStation& station, SettingsStore& store, QWidget* parent = nullptr);

  void showInFront();
  void save();
  void testChosen();

private:
  void fill();
  void showNote();

  AlarmStation& station_;
  SettingsStore& store_;
  QListWidget* rules_ = nullptr;
  QLabel* note_ = nullptr;
  QLineEdit* voice_ = nullptr;
  QSpinBox* rate_ = nullptr;
  QSpinBox* volume_ = nullptr;
  QSpinBox* repeat_ = nullptr;
  QTableWidget* words_ = nullptr;
};

} // namespace meldlux
