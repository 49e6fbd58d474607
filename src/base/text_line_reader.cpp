// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/text_line_reader.h"

#include "base/cp1252.h"

#include <algorithm>

namespace meldlux {

namespace {
constexpr qint64 kChunk = 64 * 1024;
}

TextLineReader::TextLineReader(QIODevice& device, qsizetype maxLineBytes, LineEnds ends)
    : device_(device), maxLineBytes_(std::max<qsizetype>(maxLineBytes, 1)),
      loneLfEnds_(ends == LineEnds::CrLfCrOrLf) {}

bool TextLineReader::refill() {
  buffer_ = device_.read(kChunk);
  pos_ = 0;
  return !buffer_.isEmpty();
}

bool TextLineReader::next(QString& line) {
  line_.clear();
  cut_ = false;
  bool any = false;
  for (;;) {
    if (pos_ >= buffer_.size() && !refill()) {
      if (!any)
        return false;
      break;
    }
    any = true;
    const char* data = buffer_.constData() + pos_;
    const qsizetype available = buffer_.size() - pos_;
    qsizetype length = 0;
    while (length < available && !endsLine(data[length]))
      ++length;
    const qsizetype room = maxLineBytes_ - line_.size();
    if (length > room)
      cut_ = true;
    line_.append(data, std::min(length, room));
    pos_ += length;
    if (length < available) {
      const char end = data[length];
      ++pos_;
      if (end == '\r' && (pos_ < buffer_.size() || refill()) && buffer_[pos_] == '\n')
        ++pos_;
      break;
    }
  }
  ++lineNumber_;
  line = cp1252::decode(line_);
  return true;
}

} // namespace meldlux
