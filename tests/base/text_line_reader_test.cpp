#include "base/text_line_reader.h"

#include <QBuffer>
#include <QStringList>
#include <gtest/gtest.h>

using namespace meldlux;

namespace {

QStringList readAll(QByteArray bytes, LineEnds ends, qsizetype maxLine = 1024) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  TextLineReader reader(buffer, maxLine, ends);
  QStringList lines;
  QString line;
  while (reader.next(line))
    lines << line;
  return lines;
}

} // namespace

TEST(TextLineReader, EachPolicyEndsLinesAtItsOwnCharacters) {
  const QByteArray text("a\r\nb\rc\nd\r\n\r\ne");
  EXPECT_EQ(readAll(text, LineEnds::CrLfCrOrLf), (QStringList{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(readAll(text, LineEnds::CrLfOrCr), (QStringList{"a", "b", "c\nd", "", "e"}));
  // An ending at the very end starts no further line; a CR before CR LF is a line of its own.
  EXPECT_EQ(readAll("\r\r\n", LineEnds::CrLfOrCr), (QStringList{"", ""}));
  EXPECT_TRUE(readAll("", LineEnds::CrLfOrCr).isEmpty());
  EXPECT_EQ(readAll("Stra\xdf"
                    "e \x80",
                    LineEnds::CrLfOrCr),
            QStringList{u"Straße €"_qs});
}

TEST(TextLineReader, CrLfAcrossChunkBoundaryAndLongLinesCut) {
  QByteArray bytes(64 * 1024 - 1, 'x');
  bytes += "\r\nnext\r\n";
  bytes += QByteArray(100, 'y') + "\xe4";
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  TextLineReader reader(buffer, 50);
  QString line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line.size(), 50);
  EXPECT_TRUE(reader.cut());
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, u"next"); // no empty line from the split CR LF
  EXPECT_FALSE(reader.cut());
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, QString(50, u'y'));
  EXPECT_EQ(reader.lineNumber(), 3);
  EXPECT_FALSE(reader.next(line));
}
