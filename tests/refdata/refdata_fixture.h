// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/cp1252.h"
#include "base/event_log.h"
#include "refdata/loader_environment.h"
#include "refdata/reference_files.h"
#include "state/options.h"
#include "tables/status_tables.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace meldlux::testing {

struct ShownBox {
  QString title;
  QString text;
  MessageBoxes::Icon icon;
};

class RecordingBoxes final : public MessageBoxes {
public:
  void show(const QString& title, const QString& text, Icon icon) override {
    shown.push_back({title, text, icon});
  }
  std::vector<ShownBox> shown;
};

struct Skip {
  QString file;
  LoadDiagnostics::Unit unit;
  qint64 number;
  QString reason;
};

class RecordingDiagnostics final : public LoadDiagnostics {
public:
  void skipped(const QString& file, Unit unit, qint64 number, const QString& reason) override {
    skips.push_back({file, unit, number, reason});
  }
  std::vector<Skip> skips;
};

// A temporary data directory with the loaders' collaborators; notices are collected.
class RefdataFixture : public ::testing::Test {
protected:
  RefdataFixture()
      : files(QDir(dir.path())),
        env(
            files, options, boxes, log, [this](const QString& text) { notices << text; },
            &diagnostics) {}

  void write(const QString& relative, const QByteArray& bytes) {
    const QString path = dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }
  // Lines joined with CR LF (and ended by one), in Windows-1252.
  void writeLines(const QString& relative, const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
      text += line + QStringLiteral("\r\n");
    write(relative, cp1252::encode(text));
  }

  // Exactly one message box was shown, with this title, text and icon.
  void expectOneBox(const QString& title, const QString& text,
                    MessageBoxes::Icon icon = MessageBoxes::Icon::None) {
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, title);
    EXPECT_EQ(boxes.shown[0].text, text);
    EXPECT_EQ(boxes.shown[0].icon, icon);
  }

  QTemporaryDir dir;
  ReferenceFiles files;
  Options options;
  RecordingBoxes boxes;
  EventLog log;
  RecordingDiagnostics diagnostics;
  QStringList notices;
  LoaderEnvironment env;
  StatusTables status;
};

} // namespace meldlux::testing
