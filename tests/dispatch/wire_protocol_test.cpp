// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/wire_protocol.h"

#include "base/numbers.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace meldlux {
namespace {

QStringList pieces(const QString& block) {
  QStringList out;
  for (QStringView piece : splitBlock(block))
    out << piece.toString();
  return out;
}

QStringList fields(QStringView line, QStringView separator, std::size_t maxFields = kAllFields) {
  std::vector<QStringView> views;
  splitFields(line, separator, views, maxFields);
  QStringList out;
  for (QStringView v : views)
    out << v.toString();
  return out;
}

TEST(BlockSplitting, AtCrLfOnlyKeepingEmptyPieces) {
  const std::pair<QString, QStringList> cases[] = {
      {"ZVEI\t12345\r\nPOC\t1\ta\tb\r\n", {"ZVEI\t12345", "POC\t1\ta\tb", ""}},
      {"a\rb\nc\n\rd\r\ne", {"a\rb\nc\n\rd", "e"}}, // lone CR and LF stay inside the piece
      {"a\r\r\nb", {"a\r", "b"}},
      {"a\r", {"a\r"}},
      {"\r\n\r\n", {"", "", ""}},
      {"", {""}},
      {"no line end", {"no line end"}}};
  for (const auto& [block, expected] : cases)
    EXPECT_EQ(pieces(block), expected) << block.toStdString();
}

TEST(LineClassification, ExactCaseSensitiveRulesLaterOnesOverride) {
  using enum LineKind;
  // clang-format off
  const std::pair<const char16_t*, LineKind> cases[] = {
      {u"#!XX!#", Heartbeat}, {u"#!XX!#anything else", Heartbeat}, {u"ZVEI\t12345", TabLine},
      {u"ZVEI12345", TabLine} /* rejected later: no TAB */, {u"FMSTlg\t1", TabLine},
      {u"POCSAG", TabLine}, {u"x#![]!#y", MarkerLine}, {u"#![]!#", MarkerLine},
      {u"#!XX!#04.12.26#![]!#20:15:00", MarkerLine}, {u"FMSTlg\tx#![]!#y", MarkerLine},
      {u"POC\t1\t#![]!#", MarkerLine}};
  // clang-format on
  for (const auto& [line, kind] : cases)
    EXPECT_EQ(classifyLine(line), kind) << QString::fromUtf16(line).toStdString();
  for (const char16_t* ignored : {u"", u"zvei\t1", u"ZVE", u"PO", u" ZVEI\t1", u"FMSTL\t1",
                                  u"#!xx!#", u"#!XX!", u"#![]!", u"#![ ]!#", u"##![]!"})
    EXPECT_EQ(classifyLine(ignored), LineKind::Ignored)
        << QString::fromUtf16(ignored).toStdString();
}

TEST(FieldSplitting, CountsEmptyFieldsSplitsAtNonOverlappingMarkersStopsWhenAsked) {
  const QStringView tab = u"\t";
  EXPECT_EQ(fields(u"a\t\tb\t", tab), (QStringList{"a", "", "b", ""}));
  EXPECT_EQ(fields(u"", tab), QStringList{""});
  EXPECT_EQ(fields(u"#!XX!#04.12.26#![]!#20:15:00#![]!##![]!#x", kFieldMarker),
            (QStringList{"#!XX!#04.12.26", "20:15:00", "", "x"}));
  // The second marker would start inside the first one.
  EXPECT_EQ(fields(u"a#![]!#![]!#b", kFieldMarker), (QStringList{"a", "![]!#b"}));
  EXPECT_EQ(fields(u"a#![]!", kFieldMarker), QStringList{"a#![]!"});
  EXPECT_EQ(fields(u"##![]!##", kFieldMarker), (QStringList{"#", "#"}));
  EXPECT_EQ(fields(u"a\tb\tc\td", tab, 2), (QStringList{"a", "b"}));
  EXPECT_EQ(fields(u"a#![]!#b#![]!#c", kFieldMarker, 2), (QStringList{"a", "b"}));
  EXPECT_EQ(fields(u"a\tb", tab, 5), (QStringList{"a", "b"}));

  std::vector<QStringView> views;
  splitTabLine(u"\t", views);
  EXPECT_EQ(views.size(), 2u);
  splitTabLine(u"a\tb\tc", views);
  splitTabLine(u"x", views); // a reused vector is cleared first
  ASSERT_EQ(views.size(), 1u);
  EXPECT_EQ(views[0], u"x");
}

// The splits and the marker test take the separators from masks of several characters: every
// position of a separator against the general search, lines short and long, with and without a
// field limit; and characters above 127 around them, some whose low byte is a separator's.
TEST(FieldSplitting, AgreesWithTheGeneralSplitWhereverTheSeparatorsFall) {
  const QString marker = kFieldMarker.toString();
  QStringList pieces = {"a", "bc", "\t", marker, "#", "[", "!]", "#![", "]!#", "defghijklm"};
  for (const char16_t* wide : {u"ä€", u"\u0109", u"\u0123", u"\u2121", u"\u015B\u015D"})
    pieces << QString::fromUtf16(wide);
  std::uint32_t seed = 12345;
  auto next = [&seed](std::uint32_t range) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % range;
  };
  std::vector<QStringView> views;
  for (int run = 0; run < 3000; ++run) {
    QString line;
    for (std::uint32_t i = next(16); i > 0; --i)
      line += pieces[next(pieces.size())];
    const std::size_t limit = run % 3 == 0 ? next(7) : kAllFields;
    ASSERT_EQ(containsFieldMarker(line), line.contains(marker)) << line.toStdString();
    for (const QString& separator : {QStringLiteral("\t"), marker}) {
      QStringList expected = line.split(separator);
      if (limit != kAllFields)
        expected = expected.mid(0, qsizetype(limit));
      if (separator == marker)
        splitMarkerLine(line, views, limit);
      else
        splitTabLine(line, views, limit);
      QStringList got;
      for (QStringView v : views)
        got << v.toString();
      ASSERT_EQ(got, expected) << line.toStdString();
    }
  }
}

TEST(FieldNumber, AgreesWithTheLeadingNumber) {
  for (const char* text :
       {"", "0", "7", "18", "019", "123456789", "1234567890", "99999999999", " 3", "3 ", "\t3",
        "\n19", "-1", "+4", "2.5", "1e9", "abc", "12abc", "\xd9\xa6"}) {
    const QString field = QString::fromUtf8(text);
    EXPECT_EQ(fieldNumber(field), leadingNumberAfterSpaces(field)) << text;
  }
}

TEST(ReplaceAllTrimmed, LeftToRightWithoutOverlapsThenTrimmed) {
  EXPECT_EQ(replaceAllTrimmed(u"x;TRN;TRN", u";TRN", u"&&TRN"), "x&&TRN&&TRN");
  EXPECT_EQ(replaceAllTrimmed(u"aaa", u"aa", u"b"), "ba");
  EXPECT_EQ(replaceAllTrimmed(u"EGLOF_GPSEGLOF_GPSINFO : INFO : x", u"EGLOF_GPSINFO : ", u""),
            "EGLOF_GPSINFO : x"); // the result is not searched again
  EXPECT_EQ(replaceAllTrimmed(u"&TRN", u"&TRN", u"&&TRN"), "&&TRN");
  EXPECT_EQ(replaceAllTrimmed(u" &trn ", u"&TRN", u"&&TRN"), "&trn");
  EXPECT_EQ(replaceAllTrimmed(u"", u"x", u"y"), "");
  EXPECT_EQ(replaceAllTrimmed(u"abc", u"", u"y"), "abc");
  // Replaced first, trimmed after: the text searched for may end in a space.
  EXPECT_EQ(replaceAllTrimmed(u"  Wache EGLOF_GPSINFO : ", u"EGLOF_GPSINFO : ", u""), "Wache");
  EXPECT_EQ(replaceAllTrimmed(u" EGLOF_GPSINFO :  ", u"EGLOF_GPSINFO : ", u""), "");
  EXPECT_EQ(replaceAllTrimmed(u" a;TRN ", u";TRN", u" "), "a");
}

} // namespace
} // namespace meldlux
