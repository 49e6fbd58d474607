#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace meldlux {

// Reads a Windows-1252 text file line by line without holding more than one chunk and one line.
// A line ends at CR LF, at a CR alone or at a LF alone (lists edited on other systems); a last
// line without an ending still counts. A line longer than the limit is cut there and the rest of
// it skipped, so a file without line ends cannot fill the memory.
class TextLineReader {
public:
  static constexpr qsizetype kDefaultMaxLineBytes = 64 * 1024;

  explicit TextLineReader(QIODevice& device, qsizetype maxLineBytes = kDefaultMaxLineBytes);

  // The next line, decoded; false at the end of the file.
  bool next(QString& line);
  // Whether the line last returned was cut.
  bool cut() const { return cut_; }
  // 1 for the first line.
  qint64 lineNumber() const { return lineNumber_; }

private:
  bool refill();

  QIODevice& device_;
  qsizetype maxLineBytes_;
  QByteArray buffer_;
  qsizetype pos_ = 0;
  QByteArray line_;
  bool cut_ = false;
  qint64 lineNumber_ = 0;
};

} // namespace meldlux
