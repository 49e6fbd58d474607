// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "decoded_telegram.h"

#include <QObject>
#include <QString>
#include <optional>

namespace meldlux::multimon {

// Reads multimon-ng's output lines. A telegram it understands comes out as a DecodedTelegram
// (and through the signal); an FMS frame with a failed check is dropped; any other line is
// counted as unreadable and skipped, never passed on half-read.
class MultimonLineParser : public QObject {
  Q_OBJECT
public:
  struct Options {
    // German pagers use the 7-bit German set: "[\]{|}~" stand for "ÄÖÜäöüß".
    bool germanCharset = true;
  };

  explicit MultimonLineParser(Options options, QObject* parent = nullptr);

  // Reads one line (without its line end) and emits telegramDecoded for a telegram.
  std::optional<DecodedTelegram> parse(QStringView line);

  qint64 decoded() const { return decoded_; }
  qint64 rejectedChecks() const { return rejectedChecks_; }
  qint64 unreadable() const { return unreadable_; }

Q_SIGNALS:
  void telegramDecoded(const meldlux::multimon::DecodedTelegram& telegram);

private:
  std::optional<DecodedTelegram> parseZvei(QStringView line);
  std::optional<DecodedTelegram> parsePocsag(QStringView line);
  std::optional<DecodedTelegram> parseFms(QStringView line);
  QString pagerText(QStringView text, bool alpha) const;

  Options options_;
  QString zveiFragment_; // the first half of a five-tone line another line cut into
  qint64 decoded_ = 0;
  qint64 rejectedChecks_ = 0;
  qint64 unreadable_ = 0;
};

} // namespace meldlux::multimon
