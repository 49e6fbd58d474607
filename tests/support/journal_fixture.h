// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/clock.h"
#include "base/event_log.h"
#include "journal/journal_entry.h"
#include "journal/journal_writer.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace meldlux::testing {

// One entry of each kind, as the handlers make them.
inline std::vector<JournalEntry> entryOfEachKind(OleDate arrival) {
  auto make = [&](JournalKind kind, QString id, QString name, int status, JournalDirection dir,
                  QString message, QString line, Colour colour) {
    JournalEntry e;
    e.arrival = arrival;
    e.telegramTime = arrival - 1.0 / 86400;
    e.kind = kind;
    e.identifier = std::move(id);
    e.name = std::move(name);
    e.status = status;
    e.direction = dir;
    e.message = std::move(message);
    e.line = std::move(line);
    e.colour = colour;
    return e;
  };
  return {
      make(JournalKind::FmsVehicle, "61234567", "HLF Nord", 3, JournalDirection::FromVehicle, "",
           "HLF Nord  3 Einsatz übernommen", 0x00ffff),
      make(JournalKind::FmsControl, "61234567", "HLF Nord", 2, JournalDirection::FromControl,
           "Weg frei", "HLF Nord  2 Sprechaufforderung  [Weg frei]", 0xffffff),
      make(JournalKind::Zvei, "12345", "FF Süd; \"Vollalarm\"", -1, JournalDirection::None, "",
           "12345 FF Süd; \"Vollalarm\"", 0x00ff00),
      make(JournalKind::Pocsag, "1234567 [D]", "Gruppe 4", -1, JournalDirection::None,
           "B3 Brand\tWohnhaus", "1234567 [D] Gruppe 4 B3 Brand\tWohnhaus", 0xff00ff),
      // An unknown sender has no name at all (a null text), as the handlers give it.
      make(JournalKind::Text, "6123", QString(), 10, JournalDirection::FromVehicle, "Lage & Co",
           "6123 10 Lage & Co", 0x0000ff),
  };
}

// A writer on a file in a fresh folder, with the notices it gives collected.
struct JournalRig {
  QTemporaryDir dir;
  ManualClock clock;
  EventLog log;
  QStringList notices;
  std::unique_ptr<JournalWriter> writer;

  explicit JournalRig(int retentionDays = 365, QString file = QStringLiteral("journal.sqlite")) {
    start(retentionDays, file);
  }
  QString path(const QString& file = QStringLiteral("journal.sqlite")) const {
    return dir.filePath(file);
  }
  void start(int retentionDays = 365, const QString& file = QStringLiteral("journal.sqlite")) {
    writer.reset();
    writer = std::make_unique<JournalWriter>(
        clock, log, JournalWriter::Settings{path(file), retentionDays, 50},
        [this](const QString& text) { notices << text; });
  }
  // Lets the block end: the writer's commit runs on the next turn of the event loop.
  static void endBlock() { QCoreApplication::processEvents(); }
};

} // namespace meldlux::testing
