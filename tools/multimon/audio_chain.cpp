// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio_chain.h"

#include <QRegularExpression>
#include <QVersionNumber>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace meldlux::multimon {

namespace {

void say(const char* text, int pauseMs) {
  std::fprintf(stderr, "meldlux-multimon: %s; starting it again in %d s\n", text, pauseMs / 1000);
}

// The source leads its own group; multimon-ng is one process.
pid_t groupOrProcess(const QProcess& process) {
  const pid_t pid = pid_t(process.processId());
  return ::getpgid(pid) == pid ? -pid : pid;
}

// Asks politely. A stopped process (SIGSTOP, a debugger let go) would keep the request pending.
pid_t askPolitely(const QProcess& process) {
  const pid_t target = groupOrProcess(process);
  ::kill(target, SIGTERM);
  ::kill(target, SIGCONT);
  return target;
}

} // namespace

QStringList AudioChain::defaultDecoderArguments() {
  return {QStringLiteral("-a"),         QStringLiteral("POCSAG512"), QStringLiteral("-a"),
          QStringLiteral("POCSAG1200"), QStringLiteral("-a"),        QStringLiteral("POCSAG2400"),
          QStringLiteral("-a"),         QStringLiteral("ZVEI1"),     QStringLiteral("-a"),
          QStringLiteral("FMSFSK")};
}

bool AudioChain::keepsPartialSteps(const QString& versionLine) {
  static const QRegularExpression pattern(QStringLiteral("^multimon-ng (\\d+\\.\\d+\\.\\d+)"));
  const auto match = pattern.match(versionLine.trimmed());
  return match.hasMatch() &&
         QVersionNumber::fromString(match.captured(1)) >= QVersionNumber(1, 3, 1);
}

AudioChain::AudioChain(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options)), watch_(options_.timeoutMs) {
  clock_.start();
  connect(&watchTimer_, &QTimer::timeout, this, &AudioChain::watch);
  for (QTimer* timer : {&sourceRestart_, &decoderRestart_})
    timer->setSingleShot(true);
  connect(&sourceRestart_, &QTimer::timeout, this, &AudioChain::startSource);
  connect(&decoderRestart_, &QTimer::timeout, this, &AudioChain::startDecoder);

  source_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  source_.setInputChannelMode(QProcess::ForwardedInputChannel);
  // Its own process group, so that the whole command can be ended, not only the shell.
  source_.setChildProcessModifier([] { ::setpgid(0, 0); });
  connect(&source_, &QProcess::readyReadStandardOutput, this, [this] {
    const QByteArray audio = source_.readAllStandardOutput();
    watch_.audioArrived(clock_.elapsed());
    Q_EMIT audioRead(audio.size());
    if (decoder_.state() == QProcess::Running && !decoderRestart_.isActive())
      Q_EMIT flowing();
    if (relay_)
      relay_->push(audio);
  });
  connect(&source_, &QProcess::finished, this, &AudioChain::sourceEnded);
  connect(&source_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart)
      sourceEnded();
  });

  decoder_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  decoder_.setInputChannelMode(QProcess::ForwardedInputChannel);
  connect(&decoder_, &QProcess::readyReadStandardOutput, this,
          [this] { Q_EMIT decoded(decoder_.readAllStandardOutput()); });
  connect(&decoder_, &QProcess::finished, this, &AudioChain::decoderGone);
  connect(&decoder_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart)
      decoderGone();
  });
}

AudioChain::~AudioChain() { stop(); }

void AudioChain::start() {
  QProcess ask;
  ask.start(options_.multimon, {QStringLiteral("-h")});
  ask.waitForFinished(5000);
  const QString version = QString::fromLocal8Bit(ask.readAllStandardError()).section(u'\n', 0, 0);
  const bool keeps = keepsPartialSteps(version);
  std::fprintf(stderr, "meldlux-multimon: %s: %s\n",
               qPrintable(version.isEmpty() ? options_.multimon : version),
               keeps ? "hands the audio on as it comes"
                     : "hands the audio on in blocks of 4000 bytes");
  relay_ = std::make_unique<AudioRelay>(AudioRelay::forMultimon(keeps));
  connect(relay_.get(), &AudioRelay::writeFailed, this, [this] {
    // multimon-ng is gone; its end is reported by its process.
    if (writeFd_ >= 0)
      ::close(writeFd_);
    writeFd_ = -1;
  });
  startDecoder();
  startSource();
  watchTimer_.start(std::clamp(options_.timeoutMs / 4, 100, 1000));
}

void AudioChain::watch() {
  const qint64 now = clock_.elapsed();
  if (decoder_.state() == QProcess::Running)
    watch_.pipeHolds(now, relay_->inPipe(), relay_->written());
  const bool sourceRunning = source_.state() == QProcess::Running;
  switch (watch_.check(now)) {
  case ChainWatch::Fault::SourceSilent:
    if (sourceRunning && sourceFault_ == nullptr) {
      sourceFault_ = "no audio from the source";
      askToEnd(source_);
    }
    break;
  case ChainWatch::Fault::DecoderStuck:
    if (decoder_.state() == QProcess::Running && decoderFault_ == nullptr) {
      decoderFault_ = "multimon-ng does not read its audio";
      askToEnd(decoder_);
    }
    break;
  case ChainWatch::Fault::None:
    break;
  }
}

void AudioChain::stop() {
  stopped_ = true;
  watchTimer_.stop();
  sourceRestart_.stop();
  decoderRestart_.stop();
  end(source_);
  if (writeFd_ >= 0)
    ::close(writeFd_);
  writeFd_ = -1;
  end(decoder_);
}

void AudioChain::end(QProcess& process) {
  if (process.state() == QProcess::NotRunning)
    return;
  const pid_t target = askPolitely(process);
  if (!process.waitForFinished(3000)) {
    ::kill(target, SIGKILL);
    process.waitForFinished(1000);
  }
}

void AudioChain::askToEnd(QProcess& process) {
  if (process.state() == QProcess::NotRunning)
    return;
  // Waiting here would hold this loop, and so every client's lines and heartbeats; one that
  // ignores the request is killed later, unless it has ended, or been started anew, by then.
  const pid_t target = askPolitely(process);
  const qint64 pid = process.processId();
  QTimer::singleShot(3000, &process, [&process, target, pid] {
    if (process.state() != QProcess::NotRunning && process.processId() == pid)
      ::kill(target, SIGKILL);
  });
}

void AudioChain::startSource() {
  if (stopped_)
    return;
  ++sourceStarts_;
  sourceRunning_.start();
  watch_.sourceStarted(clock_.elapsed());
  source_.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), options_.audioCommand});
}

void AudioChain::startDecoder() {
  if (stopped_)
    return;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    decoderGone();
    return;
  }
  ++decoderStarts_;
  decoderRunning_.start();
  watch_.decoderStarted(clock_.elapsed());
  const int readEnd = fds[0];
  decoder_.setChildProcessModifier([readEnd] { ::dup2(readEnd, STDIN_FILENO); });
  decoder_.start(options_.multimon,
                 QStringList{QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("raw")} +
                     options_.decoderArguments + QStringList{QStringLiteral("-")});
  ::close(readEnd);
  ::fcntl(fds[1], F_SETFL, ::fcntl(fds[1], F_GETFL) | O_NONBLOCK);
  writeFd_ = fds[1];
  relay_->attach(writeFd_);
}

void AudioChain::sourceEnded() {
  if (stopped_ || sourceRestart_.isActive())
    return;
  const int pauseMs = sourceBackoff_.nextMs(sourceRunning_.elapsed());
  say(sourceFault_ != nullptr ? sourceFault_ : "the audio source ended", pauseMs);
  sourceFault_ = nullptr;
  Q_EMIT faulted();
  sourceRestart_.start(pauseMs);
}

void AudioChain::decoderGone() {
  if (stopped_ || decoderRestart_.isActive())
    return;
  relay_->attach(-1);
  if (writeFd_ >= 0)
    ::close(writeFd_);
  writeFd_ = -1;
  Q_EMIT decoderEnded();
  const int pauseMs = decoderBackoff_.nextMs(decoderRunning_.elapsed());
  say(decoderFault_ != nullptr ? decoderFault_ : "multimon-ng ended", pauseMs);
  decoderFault_ = nullptr;
  Q_EMIT faulted();
  decoderRestart_.start(pauseMs);
}

} // namespace meldlux::multimon
