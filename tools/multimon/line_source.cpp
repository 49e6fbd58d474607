// SPDX-License-Identifier: GPL-3.0-or-later
#include "line_source.h"

#include "decoded_telegram.h"

#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace meldlux::multimon {

LineSource::LineSource(QObject* parent) : QObject(parent) {
  restart_.setSingleShot(true);
  connect(&restart_, &QTimer::timeout, this, &LineSource::startPipeline);
  connect(&process_, &QProcess::readyReadStandardOutput, this,
          [this] { take(process_.readAllStandardOutput()); });
  connect(&process_, &QProcess::finished, this, &LineSource::pipelineEnded);
  connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart)
      pipelineEnded();
  });
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  // Its own process group, so that the whole pipeline can be ended, not only the shell.
  process_.setChildProcessModifier([] { ::setpgid(0, 0); });
}

LineSource::~LineSource() { stop(); }

void LineSource::readStandardInput() {
  stdinNotifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
  connect(stdinNotifier_, &QSocketNotifier::activated, this, [this] {
    char buffer[16384];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n > 0) {
      take(QByteArray(buffer, qsizetype(n)));
      return;
    }
    stdinNotifier_->setEnabled(false);
    finishLine();
    Q_EMIT inputEnded();
  });
}

void LineSource::runPipeline(const QString& command) {
  command_ = command;
  startPipeline();
}

void LineSource::stop() {
  stopped_ = true;
  restart_.stop();
  if (stdinNotifier_ != nullptr)
    stdinNotifier_->setEnabled(false);
  if (process_.state() != QProcess::NotRunning) {
    const qint64 group = process_.processId();
    if (group > 0)
      ::kill(-pid_t(group), SIGTERM);
    if (!process_.waitForFinished(3000)) {
      ::kill(-pid_t(group), SIGKILL);
      process_.waitForFinished(1000);
    }
  }
}

void LineSource::take(const QByteArray& bytes) {
  pending_ += bytes;
  qsizetype start = 0;
  qsizetype end;
  while ((end = pending_.indexOf('\n', start)) >= 0) {
    if (!skipping_)
      Q_EMIT lineRead(QString::fromUtf8(pending_.constData() + start, end - start));
    skipping_ = false;
    start = end + 1;
  }
  pending_.remove(0, start);
  if (pending_.size() > kLongestLine) {
    // A line without an end cannot fill the memory: it is cut and counted as unreadable.
    if (!skipping_)
      Q_EMIT lineRead(QString::fromUtf8(pending_));
    pending_.clear();
    skipping_ = true;
  }
}

void LineSource::finishLine() {
  if (!pending_.isEmpty() && !skipping_)
    Q_EMIT lineRead(QString::fromUtf8(pending_));
  pending_.clear();
  skipping_ = false;
}

void LineSource::startPipeline() {
  if (stopped_)
    return;
  ++starts_;
  pending_.clear();
  skipping_ = false;
  running_.start();
  process_.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command_});
}

void LineSource::pipelineEnded() {
  if (stopped_ || restart_.isActive())
    return;
  finishLine();
  const int pauseMs = backoff_.nextMs(running_.elapsed());
  std::fprintf(stderr, "meldlux-multimon: the pipeline ended; starting it again in %d s\n",
               pauseMs / 1000);
  restart_.start(pauseMs);
}

} // namespace meldlux::multimon
