// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fault_support.h"

#include <QDateTime>

// One program under fault: a scratch folder, the server the test plays, meldlux with the event
// log and its tick lines. With a clock rate above 1 the program's time, its timers and its tick
// lines run that much faster than the test's.
namespace meldlux::faults {

class FaultRun {
public:
  static constexpr int kTickMs = 10; // real milliseconds between two tick lines

  explicit FaultRun(int clockRate = 1, const QString& moreSettings = {})
      : rate_(clockRate), server_ok_(server.listen()),
        meldlux(dir.path(), settingsFor(server.port(), moreSettings)) {}

  bool start(const QStringList& arguments = {}, const QString& workingDirectory = {}) {
    if (!dir.isValid() || !server_ok_)
      return false;
    QProcessEnvironment env = withTicks(kTickMs * rate_);
    if (rate_ > 1)
      env = fastClock(rate_, env, offsetSeconds_);
    return meldlux.start(arguments, workingDirectory, env);
  }

  // The program's clock starts at `time` of today, say shortly before midnight to see the day end.
  void clockStartsAt(const QTime& time) {
    const QDateTime now = QDateTime::currentDateTime();
    offsetSeconds_ = now.secsTo(QDateTime(now.date(), time));
  }

  // Waits for the program to connect and log in; the first check comes 4 s (program time) after
  // start, the later ones every 30 s.
  ::testing::AssertionResult connectsAndLogsIn(int realMs) {
    if (!server.accept(realMs))
      return ::testing::AssertionFailure() << "no connection within " << realMs << " ms\n"
                                           << meldlux.log().toStdString();
    QDeadlineTimer deadline(5000);
    while (!server.received(50).contains("PASS:geheim\r\n"))
      if (deadline.hasExpired())
        return ::testing::AssertionFailure() << "no login: " << server.received().toStdString();
    return ::testing::AssertionSuccess();
  }

  // A message line whose text contains `text` reaches the log within realMs.
  ::testing::AssertionResult shows(const QString& text, int realMs = 5000) const {
    if (waitFor(
            [&] {
              const QString log = meldlux.log();
              for (qsizetype at = log.indexOf(text); at >= 0; at = log.indexOf(text, at + 1)) {
                const qsizetype lineStart = log.lastIndexOf(u'\n', at) + 1;
                if (QStringView(log).mid(lineStart).startsWith(u"message\t"))
                  return true;
              }
              return false;
            },
            realMs))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "not shown: " << text.toStdString() << "\n"
                                         << meldlux.log().right(3000).toStdString();
  }

  // The event loop turns: tick lines keep coming, three more within 3 s of real time (idle: 30 ms).
  ::testing::AssertionResult loopTurns() const {
    const qsizetype before = ticks(meldlux.log()).size();
    if (waitFor([&] { return ticks(meldlux.log()).size() >= before + 3; }, 2500 + 50 * kTickMs))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the tick lines stopped at " << before;
  }

  // The program's time of the last tick line (-1 before the first).
  qint64 programMs() const { return lastTick(meldlux.log()); }
  // The longest gap between tick lines after the program time fromMs, in real milliseconds.
  qint64 longestRealGap(qint64 fromMs = 0) const {
    return longestGap(ticks(meldlux.log()), fromMs) / rate_;
  }

  // Every "Verbunden seit" time the status line showed, in seconds; date and time both count, so
  // that a run across midnight still counts forward.
  QList<qint64> connectedSince() const {
    static const QRegularExpression connected(
        QStringLiteral(
            "^status\\t65280\\tVerbunden seit (\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d)$"),
        QRegularExpression::MultilineOption);
    QList<qint64> out;
    for (auto it = connected.globalMatch(meldlux.log()); it.hasNext();) {
      QDateTime at =
          QDateTime::fromString(it.next().captured(1), QStringLiteral("dd.MM.yy HH:mm:ss"));
      at.setTimeSpec(Qt::UTC); // no daylight-saving step between two readings
      out.append(at.toSecsSinceEpoch());
    }
    return out;
  }

  // The last status line's colour and caption.
  QString lastStatus() const {
    const QString log = meldlux.log();
    const qsizetype at = log.lastIndexOf(QStringLiteral("\nstatus\t"));
    return at < 0 ? QString() : log.mid(at + 8, log.indexOf(u'\n', at + 1) - at - 8);
  }

  // SIGTERM ends the program within realMs, with exit code 0.
  ::testing::AssertionResult endsOnSigterm(int realMs = 10000) {
    meldlux.process.terminate();
    if (!meldlux.process.waitForFinished(realMs)) {
      meldlux.process.kill();
      meldlux.process.waitForFinished(5000);
      return ::testing::AssertionFailure() << "still running " << realMs << " ms after SIGTERM\n"
                                           << meldlux.log().right(2000).toStdString();
    }
    if (meldlux.process.exitStatus() != QProcess::NormalExit || meldlux.process.exitCode() != 0)
      return ::testing::AssertionFailure() << "exit code " << meldlux.process.exitCode();
    return ::testing::AssertionSuccess();
  }

  ~FaultRun() {
    if (meldlux.process.state() != QProcess::NotRunning) {
      meldlux.process.kill();
      meldlux.process.waitForFinished(5000);
    }
  }

  QTemporaryDir dir;
  PeerServer server;

private:
  int rate_;
  qint64 offsetSeconds_ = 0;
  bool server_ok_;

public:
  MeldluxRun meldlux;
};

} // namespace meldlux::faults
