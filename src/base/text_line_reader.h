// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace meldlux {

// Which characters end a line. The server products' lists may have been edited on other systems
// and end at a lone LF too; the user's own lists are Windows text, where a lone LF is part of
// the line.
enum class LineEnds {
  CrLfCrOrLf, // CR LF, a CR alone or a LF alone
  CrLfOrCr,   // CR LF or a CR alone
};

// Reads a Windows-1252 text file line by line without holding more than one chunk and one line.
// A last line without an ending still counts; an ending at the very end starts no further line.
// A line longer than the limit is cut there and the rest of it skipped, so a file without line
// ends cannot fill the memory.
class TextLineReader {
public:
  static constexpr qsizetype kDefaultMaxLineBytes = 64 * 1024;

  explicit TextLineReader(QIODevice& device, qsizetype maxLineBytes = kDefaultMaxLineBytes,
                          LineEnds ends = LineEnds::CrLfCrOrLf);

  // The next line, decoded; false at the end of the file.
  bool next(QString& line);
  // Whether the line last returned was cut.
  bool cut() const { return cut_; }
  // 1 for the first line.
  qint64 lineNumber() const { return lineNumber_; }

private:
  bool refill();
  bool endsLine(char c) const { return c == '\r' || (c == '\n' && loneLfEnds_); }

  QIODevice& device_;
  qsizetype maxLineBytes_;
  bool loneLfEnds_;
  QByteArray buffer_;
  qsizetype pos_ = 0;
  QByteArray line_;
  bool cut_ = false;
  qint64 lineNumber_ = 0;
};

} // namespace meldlux
