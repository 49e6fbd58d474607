// SPDX-License-Identifier: GPL-3.0-or-later
#include "handler_rig.h"
#include "journal/journal_entry.h"

using namespace meldlux;

namespace {

struct RecordingJournal final : JournalSink {
  void record(const JournalEntry& entry) override { rows << entry; }
  QList<JournalEntry> rows;
};

// The strip skips repeats and what the show-only list keeps off; the journal keeps them, marked.
class JournalMarks : public HandlerRig {
protected:
  JournalMarks() {
    journal.setTarget(&recorded);
    FiveToneRecord record;
    record.code.store(u"12345"_qs);
    record.name.store(u"FF Musterstadt"_qs);
    reference.fiveTones.set(1, record);
  }
  // Line, mark and status of each journal row, oldest first.
  QStringList rows() const {
    QStringList out;
    for (const JournalEntry& e : recorded.rows)
      out << u"%1|%2|%3"_qs.arg(e.line, journalMarkText(e.mark)).arg(e.status);
    return out;
  }
  RecordingJournal recorded;
};

TEST_F(JournalMarks, RepeatsAreJournaledMarkedWhileStripAndSoundSkipThem) {
  receive(zvei(u"12345"_qs));
  receive(zvei(u"12345"_qs));
  receive(zvei(u"99999"_qs));
  receive(zvei(u"99999"_qs));
  receive(poc(u"1234567"_qs, u"1"_qs, u"Brand"_qs));
  receive(poc(u"1234567"_qs, u"1"_qs, u"Brand"_qs));
  receive(fms(u"64123456"_qs, 3, true));
  receive(fms(u"64123456"_qs, 3, true));
  EXPECT_EQ(counts(), u"lines=4 sounds=4"_qs);
  const QString pocsag = u"1234567 [1] Unbekannt Brand"_qs;
  const QString status = kName1 + u"  3 Einsatz Übernommen"_qs;
  EXPECT_EQ(rows(),
            (QStringList{u"12345 FF Musterstadt||-1"_qs, u"12345 FF Musterstadt|Wiederholung|-1"_qs,
                         u"99999 Unbekannt||-1"_qs, u"99999 Unbekannt|Wiederholung|-1"_qs,
                         pocsag + u"||-1"_qs, pocsag + u"|Wiederholung|-1"_qs, status + u"||3"_qs,
                         status + u"|Wiederholung|3"_qs}));
}

TEST_F(JournalMarks, FilteredAndIndicatorStatusesAreJournaledForTheBoard) {
  options.setText(Text::txtMsgOnly, u"002"_qs);
  options.setChecked(Check::chkSW, true);
  receive(fms(u"64123456"_qs, 4, true));
  receive(fms(u"64123456"_qs, 3, false));
  EXPECT_EQ(counts(), u"lines=0 sounds=0"_qs);
  options.setText(Text::txtMsgOnly, u"005"_qs);
  receive(fms(u"64123456"_qs, 5, true));
  ASSERT_EQ(recorded.rows.size(), 3);
  EXPECT_EQ(rows()[0], kName1 + u"  4 Am Einsatzort|gefiltert|4"_qs);
  EXPECT_EQ(recorded.rows[0].kind, JournalKind::FmsVehicle);
  EXPECT_TRUE(rows()[1].endsWith(u"|gefiltert|3"_qs)) << rows()[1].toStdString();
  EXPECT_EQ(recorded.rows[1].kind, JournalKind::FmsControl);
  EXPECT_EQ(rows()[2], indicators.lblSprechwunsch().caption + u"||5"_qs);
  EXPECT_EQ(lines().size(), 0);
}

} // namespace
