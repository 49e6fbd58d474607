// SPDX-License-Identifier: GPL-3.0-or-later
#include "options_window/sound_frame_window.h"

#include "options_window/option_binding_window.h"
#include "state/options.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

namespace meldlux {

SoundFrame::SoundFrame(Options& options, QWidget* parent)
    : QGroupBox(QStringLiteral("Sound"), parent) {
  auto* grid = new QGridLayout(this);
  struct Row {
    Check check;
    const char* checkName;
    const char* caption;
    Text file;
    const char* fileName;
  };
  const Row rows[] = {
      {Check::chkSndAlarm, "chkSndAlarm", "Alarmierung:", Text::txtSndAlarm, "txtSndAlarm"},
      {Check::chkSndFzg, "chkSndFzg", "Status Fzg:", Text::txtSndFzg, "txtSndFzg"},
      {Check::chkSndText, "chkSndText", "FMS Text:", Text::txtSndText, "txtSndText"},
      {Check::chkSndSA, "chkSndSA", "Sprechauff:", Text::txtSndSA, "txtSndSA"},
  };
  int row = 0;
  for (const Row& r : rows) {
    grid->addWidget(bindCheckBox(options, r.check, QString::fromLatin1(r.checkName),
                                 QString::fromUtf8(r.caption), this),
                    row, 0);
    // The last file box shares its row with the Kennung box.
    const int span = r.file == Text::txtSndSA ? 1 : 2;
    grid->addWidget(bindTextBox(options, r.file, QString::fromLatin1(r.fileName), this), row, 1, 1,
                    span);
    ++row;
  }
  // The Sprechaufforderung also names the vehicle it is for, in a box of its own.
  auto* txtSndSA = findChild<QLineEdit*>(QStringLiteral("txtSndSA"));
  txtSndSA->setToolTip(QStringLiteral("Sounddatei für Sprechaufforderung"));
  auto* txtSndSAKennung =
      bindTextBox(options, Text::txtSndSAKennung, QStringLiteral("txtSndSAKennung"), this);
  txtSndSAKennung->setToolTip(QStringLiteral("FMS Kennung für Sprechaufforderung"));
  txtSndSAKennung->setMaximumWidth(
      txtSndSAKennung->fontMetrics().horizontalAdvance(QStringLiteral("000000000000")));
  grid->addWidget(txtSndSAKennung, row - 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(row, 1);
}

} // namespace meldlux
