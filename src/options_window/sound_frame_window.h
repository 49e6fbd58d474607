// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

namespace meldlux {

class Options;

// The "Sound" frame of the options window: which events play a sound, and which file.
class SoundFrame : public QGroupBox {
  Q_OBJECT
public:
  explicit SoundFrame(Options& options, QWidget* parent = nullptr);
};

} // namespace meldlux
