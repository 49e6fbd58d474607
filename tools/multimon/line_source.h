// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "backoff.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

class QSocketNotifier;

namespace meldlux::multimon {

// Delivers multimon-ng's output line by line, from standard input, from a shell pipeline that
// it starts itself and starts again, after a growing pause, whenever it ends, or from the bytes
// handed to it (the audio chain's multimon-ng).
class LineSource : public QObject {
  Q_OBJECT
public:
  explicit LineSource(QObject* parent = nullptr);
  ~LineSource() override;

  void readStandardInput();
  void runPipeline(const QString& command);
  // Ends the pipeline (its whole process group) and stops reading.
  void stop();

  int starts() const { return starts_; }

  void take(const QByteArray& bytes);
  // The output ended: a last line without its end is delivered as it is.
  void finishLine();

Q_SIGNALS:
  void lineRead(const QString& line);
  void inputEnded();

private:
  void startPipeline();
  void pipelineEnded();

  QByteArray pending_;
  bool skipping_ = false; // inside a line longer than kLongestLine
  QSocketNotifier* stdinNotifier_ = nullptr;
  QProcess process_;
  QString command_;
  QTimer restart_;
  QElapsedTimer running_;
  Backoff backoff_;
  int starts_ = 0;
  bool stopped_ = false;
};

} // namespace meldlux::multimon
