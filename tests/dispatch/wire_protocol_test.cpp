#include "link/wire_protocol.h"

#include "base/numbers.h"

#include <QString>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

std::vector<QString> pieces(const QString& block) {
  std::vector<QString> out;
  for (QStringView piece : splitBlock(block))
    out.push_back(piece.toString());
  return out;
}

std::vector<QString> fields(QStringView line, QStringView separator,
                            std::size_t maxFields = kAllFields) {
  std::vector<QStringView> views;
  splitFields(line, separator, views, maxFields);
  std::vector<QString> out;
  for (QStringView v : views)
    out.push_back(v.toString());
  return out;
}

using Pieces = std::vector<QString>;

TEST(BlockSplitting, TwoLinesWithLineEndsGiveThreePieces) {
  EXPECT_EQ(pieces(QStringLiteral("ZVEI\t12345\r\nPOC\t1\ta\tb\r\n")),
            (Pieces{"ZVEI\t12345", "POC\t1\ta\tb", ""}));
}

TEST(BlockSplitting, LoneCarriageReturnsAndLineFeedsStayInsideThePiece) {
  EXPECT_EQ(pieces(QStringLiteral("a\rb\nc\n\rd\r\ne")), (Pieces{"a\rb\nc\n\rd", "e"}));
  EXPECT_EQ(pieces(QStringLiteral("a\r\r\nb")), (Pieces{"a\r", "b"}));
  EXPECT_EQ(pieces(QStringLiteral("a\r")), (Pieces{"a\r"}));
}

TEST(BlockSplitting, EmptyPiecesAreKept) {
  EXPECT_EQ(pieces(QStringLiteral("\r\n\r\n")), (Pieces{"", "", ""}));
  EXPECT_EQ(pieces(QString()), (Pieces{""}));
  EXPECT_EQ(pieces(QStringLiteral("no line end")), (Pieces{"no line end"}));
}

TEST(LineClassification, EachRuleOnItsOwn) {
  EXPECT_EQ(classifyLine(u"#!XX!#"), LineKind::Heartbeat);
  EXPECT_EQ(classifyLine(u"#!XX!#anything else"), LineKind::Heartbeat);
  EXPECT_EQ(classifyLine(u"ZVEI\t12345"), LineKind::TabLine);
  EXPECT_EQ(classifyLine(u"ZVEI12345"), LineKind::TabLine); // rejected later: no TAB
  EXPECT_EQ(classifyLine(u"FMSTlg\t1"), LineKind::TabLine);
  EXPECT_EQ(classifyLine(u"POCSAG"), LineKind::TabLine);
  EXPECT_EQ(classifyLine(u"x#![]!#y"), LineKind::MarkerLine);
  EXPECT_EQ(classifyLine(u"#![]!#"), LineKind::MarkerLine);
}

TEST(LineClassification, LaterRulesOverrideEarlierOnes) {
  EXPECT_EQ(classifyLine(u"#!XX!#04.12.26#![]!#20:15:00"), LineKind::MarkerLine);
  EXPECT_EQ(classifyLine(u"FMSTlg\tx#![]!#y"), LineKind::MarkerLine);
  EXPECT_EQ(classifyLine(u"POC\t1\t#![]!#"), LineKind::MarkerLine);
}

TEST(LineClassification, ComparisonsAreExactAndCaseSensitive) {
  EXPECT_EQ(classifyLine(u""), LineKind::Ignored);
  EXPECT_EQ(classifyLine(u"zvei\t1"), LineKind::Ignored);
  EXPECT_EQ(classifyLine(u"ZVE"), LineKind::Ignored);
  EXPECT_EQ(classifyLine(u"PO"), LineKind::Ignored);
  EXPECT_EQ(classifyLine(u" ZVEI\t1"), LineKind::Ignored);
  EXPECT_EQ(classifyLine(u"FMSTL\t1"), LineKind::Ignored);
  EXPECT_EQ(classifyLine(u"#!xx!#"), LineKind::Ignored);
  EXPECT_EQ(classifyLine(u"#!XX!"), LineKind::Ignored);
  EXPECT_EQ(classifyLine(u"#![]!"), LineKind::Ignored);
  EXPECT_EQ(classifyLine(u"#![ ]!#"), LineKind::Ignored);
  EXPECT_EQ(classifyLine(u"##![]!"), LineKind::Ignored);
}

TEST(FieldSplitting, TabFieldsCountEmptyOnes) {
  EXPECT_EQ(fields(u"a\t\tb\t", u"\t"), (Pieces{"a", "", "b", ""}));
  EXPECT_EQ(fields(u"", u"\t"), (Pieces{""}));
  std::vector<QStringView> views;
  splitTabLine(u"\t", views);
  EXPECT_EQ(views.size(), 2u);
}

TEST(FieldSplitting, MarkerFieldsSplitAtNonOverlappingMarkers) {
  EXPECT_EQ(fields(u"#!XX!#04.12.26#![]!#20:15:00#![]!##![]!#x", kFieldMarker),
            (Pieces{"#!XX!#04.12.26", "20:15:00", "", "x"}));
  // The second marker would start inside the first one.
  EXPECT_EQ(fields(u"a#![]!#![]!#b", kFieldMarker), (Pieces{"a", "![]!#b"}));
  EXPECT_EQ(fields(u"a#![]!", kFieldMarker), (Pieces{"a#![]!"}));
  EXPECT_EQ(fields(u"##![]!##", kFieldMarker), (Pieces{"#", "#"}));
}

TEST(FieldSplitting, StopsAfterTheFieldsAskedFor) {
  EXPECT_EQ(fields(u"a\tb\tc\td", u"\t", 2), (Pieces{"a", "b"}));
  EXPECT_EQ(fields(u"a#![]!#b#![]!#c", kFieldMarker, 2), (Pieces{"a", "b"}));
  EXPECT_EQ(fields(u"a\tb", u"\t", 5), (Pieces{"a", "b"}));
}

TEST(FieldSplitting, ReusedVectorIsClearedFirst) {
  std::vector<QStringView> views;
  splitTabLine(u"a\tb\tc", views);
  splitTabLine(u"x", views);
  ASSERT_EQ(views.size(), 1u);
  EXPECT_EQ(views[0], u"x");
}

} // namespace
} // namespace meldlux

namespace meldlux {
namespace {

TEST(FieldNumber, AgreesWithTheLeadingNumber) {
  for (const char* text : {"", "0", "7", "18", "019", "123456789", "1234567890", "99999999999",
                           " 3", "3 ", "-1", "+4", "2.5", "1e9", "abc", "12abc", "\xd9\xa6"}) {
    SCOPED_TRACE(text);
    const QString field = QString::fromUtf8(text);
    EXPECT_EQ(fieldNumber(field), leadingNumber(field));
  }
}

} // namespace
} // namespace meldlux

namespace meldlux {
namespace {

TEST(ReplaceAll, LeftToRightWithoutOverlaps) {
  EXPECT_EQ(replaceAll(u"x;TRN;TRN", u";TRN", u"&&TRN"), "x&&TRN&&TRN");
  EXPECT_EQ(replaceAll(u"aaa", u"aa", u"b"), "ba");
  EXPECT_EQ(replaceAll(u"EGLOF_GPSEGLOF_GPSINFO : INFO : x", u"EGLOF_GPSINFO : ", u""),
            "EGLOF_GPSINFO : x"); // the result is not searched again
  EXPECT_EQ(replaceAll(u"&TRN", u"&TRN", u"&&TRN"), "&&TRN");
  EXPECT_EQ(replaceAll(u"&trn", u"&TRN", u"&&TRN"), "&trn");
  EXPECT_EQ(replaceAll(u"", u"x", u"y"), "");
  EXPECT_EQ(replaceAll(u"abc", u"", u"y"), "abc");
}

} // namespace
} // namespace meldlux
