// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/journal_fixture.h"
#include "telegrams/handler_rig.h"

#include "board/since_text.h"
#include "board/vehicle_board.h"
#include "board/vehicle_board_sort.h"

#include "support/signal_recorder.h"

#include <QFile>

namespace meldlux {
namespace {

constexpr double kHour = 1.0 / 24;
constexpr double kMinute = kHour / 60;

// The rig's three table vehicles (one of them with an identifier no BOS digit starts), its
// clock and tables, a real journal file, and the board on top.
class Board : public HandlerRig {
protected:
  Board() { board.loadVehicles(); }

  JournalEntry sent(const QString& identifier, int status, double ago,
                    JournalKind kind = JournalKind::FmsVehicle) const {
    JournalEntry e;
    e.kind = kind;
    e.identifier = identifier;
    e.status = status;
    e.direction = kind == JournalKind::FmsControl ? JournalDirection::FromControl
                                                  : JournalDirection::FromVehicle;
    e.arrival = e.telegramTime = clock.now() - ago;
    e.line = identifier + u' ' + QString::number(status);
    return e;
  }
  void journalled(const std::vector<JournalEntry>& entries) {
    for (const JournalEntry& e : entries)
      store.writer->record(e);
    ASSERT_TRUE(store.writer->flush()) << store.writer->failure().toStdString();
  }
  QString cell(int row, int column) const {
    return board.data(board.index(row, column), Qt::DisplayRole).toString();
  }
  // The bar as "status from-to" in minutes of the day, so boundaries read plainly.
  QStringList bar(int row) const {
    QStringList out;
    for (const TimelineSpan& s : board.timeline(board.rowAt(row)))
      out << QStringLiteral("%1 %2-%3").arg(s.status).arg(qRound(s.from * 1440)).arg(qRound(s.to * 1440));
    return out;
  }

  testing::JournalRig store;
  VehicleBoard board{clock, tables, reference.vehicles, log};
  // Every dataChanged as (first, last).
  std::vector<std::pair<QModelIndex, QModelIndex>> changed;
  QMetaObject::Connection spy = QObject::connect(
      &board, &VehicleBoard::dataChanged,
      [this](const QModelIndex& a, const QModelIndex& b) { changed.emplace_back(a, b); });
};

TEST_F(Board, RestoreGivesEveryVehicleItsLastStatusAndItsDay) {
  journalled({
      sent("64123456", 2, 30 * kHour), sent("64123456", 3, 2 * kHour),
      sent("64123456", 4, 1 * kHour),
      sent("64123456", 7, 30 * kMinute, JournalKind::FmsControl), // an order, not a status
      sent("12345", -1, 20 * kMinute, JournalKind::Zvei),
      sent("63123456", 1, 72 * kHour),
      sent("61234599", 6, 10 * kMinute), // not in the table
  });
  ASSERT_EQ(board.restore(store.path()), QString());

  struct Row {
    const char* identifier;
    const char* name;
    const char* status;
    const char* since;
    QStringList bar;
  };
  const Row rows[] = {
      {"64123456", "Florian Musterstadt 1/44-1", "4 Am Einsatzort", "vor 1 h",
       {"2 0-1320", "3 1320-1380", "4 1380-1440"}},
      {"63123456", "Florian Musterstadt 1/10", "1 Frei auf Funk", "seit 01.12.26 12:00",
       {"1 0-1440"}},
      {"X1234567", "Kennung ohne BOS-Ziffer", "", "", {}}, // never sent anything
      {"61234599", "FW 23 45/99 (61234599)", "6 Nicht Einsatzbereit", "vor 10 min",
       {"6 1430-1440"}},
  };
  ASSERT_EQ(board.rowCount(), int(std::size(rows)));
  for (int i = 0; i < int(std::size(rows)); ++i) {
    SCOPED_TRACE(rows[i].identifier);
    EXPECT_EQ(board.rowOf(QString::fromLatin1(rows[i].identifier)), i);
    EXPECT_EQ(cell(i, VehicleBoard::Name), QString::fromUtf8(rows[i].name));
    EXPECT_EQ(cell(i, VehicleBoard::Status), QString::fromUtf8(rows[i].status));
    EXPECT_EQ(cell(i, VehicleBoard::Since), QString::fromUtf8(rows[i].since));
    EXPECT_EQ(bar(i), rows[i].bar);
  }
  EXPECT_EQ(board.data(board.index(0, VehicleBoard::Status), VehicleBoard::ColourRole).value<Colour>(),
            tables.colours[4]);
  EXPECT_FALSE(board.data(board.index(2, VehicleBoard::Status), VehicleBoard::ColourRole).isValid());

  // No journal yet is no error; a file that is none leaves the board as it was.
  EXPECT_EQ(board.restore(store.path("none.sqlite")), QString());
  QFile junk(store.path("junk.sqlite"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write(QByteArray(8192, 'x'));
  junk.close();
  EXPECT_NE(board.restore(store.path("junk.sqlite")), QString());
  EXPECT_EQ(cell(0, VehicleBoard::Status), u"4 Am Einsatzort");
}

TEST_F(Board, TakesEachVehicleStatusAsTheHandlersShowIt) {
  options.setChecked(Check::chkMsgAktiv, true);
  options.setChecked(Check::chkUnbekFMS, true);
  journal.setTarget(&board);
  SignalCounter inserted(&board, &VehicleBoard::rowsInserted);

  receive(fms(u"64123456"_qs, 3, true));
  EXPECT_EQ(cell(0, VehicleBoard::Status), u"3 Einsatz Übernommen");
  EXPECT_EQ(cell(0, VehicleBoard::Since), u"gerade eben");
  EXPECT_EQ(changed.size(), 1);
  clock.advance(120);
  receive(fms(u"64123456"_qs, 3, true, u"Lage"_qs)); // the same status again: still since then
  receive(fms(u"64123456"_qs, 2, false));            // from the control centre
  receive(zvei(u"12345"_qs));
  EXPECT_EQ(changed.size(), 1);
  EXPECT_EQ(cell(0, VehicleBoard::Since), u"vor 2 min");

  receive(fms(u"61112222"_qs, 1, true));
  ASSERT_EQ(inserted.count, 1);
  EXPECT_EQ(board.rowOf(u"61112222"_qs), 3);
  EXPECT_EQ(cell(3, VehicleBoard::Status), u"1 Frei auf Funk");
}

// The status cell's text stays readable on every status colour: white on the dark blue of 9.
TEST_F(Board, StatusTextContrastsAndTheBarTellsThePieceUnderTheMouse) {
  options.setChecked(Check::chkMsgAktiv, true);
  journal.setTarget(&board);
  receive(fms(u"64123456"_qs, 9, true));
  const QString nineText = cell(0, VehicleBoard::Status);
  const auto textColour = [&] {
    return board.index(0, VehicleBoard::Status).data(VehicleBoard::TextColourRole);
  };
  EXPECT_EQ(textColour().value<Colour>(), 0xFFFFFF) << tables.colours[9];
  tables.colours[9] = 0x00FFFF; // yellow
  EXPECT_EQ(textColour().value<Colour>(), 0);

  clock.advance(3600);
  receive(fms(u"64123456"_qs, 3, true));
  clock.advance(1800);
  const auto hhmm = [&](double ago) { return fromOleDate(clock.now() - ago).toString("HH:mm"); };
  EXPECT_EQ(board.timelineTip(0, 1 - kHour),
            QStringLiteral("%1, %2 – %3").arg(nineText, hhmm(1.5 * kHour), hhmm(0.5 * kHour)));
  EXPECT_EQ(board.timelineTip(0, 0.999),
            QStringLiteral("3 Einsatz Übernommen, %1 – %2").arg(hhmm(0.5 * kHour), hhmm(0)));
  EXPECT_EQ(board.headerData(VehicleBoard::Since, Qt::Horizontal, Qt::InitialSortOrderRole),
            QVariant(int(Qt::DescendingOrder))); // the first click shows the latest change first
}

TEST_F(Board, SortsByNameStatusAndTime) {
  board.record(sent("64123456", 3, 5 * kMinute));
  board.record(sent("63123456", 1, 50 * kMinute));
  board.record(sent("61234599", 1, 20 * kMinute));
  VehicleBoardSort sort(board);
  const auto order = [&] {
    QStringList ids;
    for (int r = 0; r < sort.rowCount(); ++r)
      ids << board.rowAt(sort.mapToSource(sort.index(r, 0)).row()).identifier;
    return ids;
  };
  struct Case {
    int column;
    Qt::SortOrder order;
    QStringList ids;
  };
  // Names: "Florian ... 1/10", "Florian ... 1/44-1", "FW 23 45/99 (...)", "Kennung ...", case
  // ignored; equal statuses go by name, none comes last.
  for (const Case& c : {
           Case{VehicleBoard::Name, Qt::AscendingOrder, {"63123456", "64123456", "61234599", "X1234567"}},
           Case{VehicleBoard::Status, Qt::AscendingOrder, {"63123456", "61234599", "64123456", "X1234567"}},
           Case{VehicleBoard::Since, Qt::AscendingOrder, {"X1234567", "63123456", "61234599", "64123456"}},
           Case{VehicleBoard::Since, Qt::DescendingOrder, {"64123456", "61234599", "63123456", "X1234567"}},
       }) {
    SCOPED_TRACE(c.column * 2 + int(c.order));
    sort.sort(c.column, c.order);
    EXPECT_EQ(order(), c.ids);
  }
  // It stays sorted while statuses come in.
  sort.sort(VehicleBoard::Status, Qt::AscendingOrder);
  board.record(sent("61234599", 8, 0));
  EXPECT_EQ(order(), (QStringList{"63123456", "64123456", "61234599", "X1234567"}));
}

TEST_F(Board, SinceTextAtItsBoundariesAndTheTimerRepaintsIt) {
  const OleDate since = clock.now();
  struct Case {
    double seconds;
    const char* text;
  };
  for (const Case& c : {Case{0, "gerade eben"}, Case{59.9, "gerade eben"}, Case{60, "vor 1 min"},
                        Case{12 * 60 + 59, "vor 12 min"}, Case{3599, "vor 59 min"},
                        Case{3600, "vor 1 h"}, Case{3600 + 5 * 60, "vor 1 h 5 min"},
                        Case{86399, "vor 23 h 59 min"}, Case{86400, "seit 04.12.26 12:00"},
                        Case{-30, "gerade eben"}}) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(sinceText(since, since + c.seconds / kSecondsPerDay), QString::fromUtf8(c.text));
  }
  EXPECT_EQ(sinceText(0, since), QString());

  board.record(sent("64123456", 3, 0));
  changed.clear();
  clock.advance(12 * 60);
  board.tick();
  ASSERT_EQ(changed.size(), 1);
  const auto [from, to] = changed[0];
  EXPECT_LE(from.column(), int(VehicleBoard::Since));
  EXPECT_EQ(to.column(), int(VehicleBoard::Day));
  EXPECT_EQ(to.row(), board.rowCount() - 1);
  EXPECT_EQ(cell(0, VehicleBoard::Since), u"vor 12 min");
}

TEST_F(Board, FloodsStayBounded) {
  for (int i = 0; i < VehicleBoard::kMaxUnknown + 300; ++i)
    board.record(sent(QStringLiteral("6%1").arg(i, 7, 10, QChar(u'0')), 2, 0));
  EXPECT_EQ(board.rowCount(), 3 + VehicleBoard::kMaxUnknown);
  for (int i = 0; i < 1000; ++i) { // a vehicle that sends all day
    clock.advance(60);
    board.record(sent("64123456", 1 + i % 2, 0));
  }
  EXPECT_EQ(board.rowAt(0).timeline.segments().size(), StatusTimeline::kMaxSegments);
  clock.advance(2 * kSecondsPerDay);
  board.tick(); // a day later only the running status is left, over the whole bar
  EXPECT_EQ(board.rowAt(0).timeline.segments().size(), 1u);
  EXPECT_EQ(bar(0), QStringList{"2 0-1440"});
}

} // namespace
} // namespace meldlux
