// SPDX-License-Identifier: GPL-3.0-or-later
// The folders under src/ are layers: a file includes from its own folder and the folders below it,
// never from one above, and the core (every file but widgets and Qt Gui/Multimedia adapters)
// includes no header of Qt's GUI modules. These tests read the real sources.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList listFromDefinition(const char* commaSeparated) {
  return QString::fromUtf8(commaSeparated).split(u',', Qt::SkipEmptyParts);
}

// Widget files and adapters belong to the GUI library; main.cpp builds the whole program.
bool isGuiFile(const QString& name) {
  static const QRegularExpression gui(QStringLiteral("_(window|icon|qt)\\.(cpp|h)$"));
  return gui.match(name).hasMatch() || name == u"main.cpp";
}

class LayerCheck {
public:
  // layers: folder names, bottom first; guiHeaders: every header name of Qt's GUI modules.
  LayerCheck(QStringList layers, QSet<QString> guiHeaders)
      : layers_(std::move(layers)), guiHeaders_(std::move(guiHeaders)) {}

  // One line per include that breaks the order, and per folder that has no place in it.
  QStringList violations(const QString& sourceRoot) const {
    QStringList found;
    const QDir root(sourceRoot);
    for (const QString& folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      const auto level = layers_.indexOf(folder);
      if (level < 0) {
        found << QStringLiteral("%1/: folder has no place among the layers").arg(folder);
        continue;
      }
      QDirIterator files(root.filePath(folder), {QStringLiteral("*.h"), QStringLiteral("*.cpp")},
                         QDir::Files, QDirIterator::Subdirectories);
      while (files.hasNext()) {
        const QString path = files.next();
        checkFile(root.relativeFilePath(path), path, level, found);
      }
    }
    return found;
  }

private:
  void checkFile(const QString& shown, const QString& path, qsizetype level,
                 QStringList& found) const {
    static const QRegularExpression quoted(QStringLiteral(R"(^\s*#\s*include\s*"([^"]+)\")"));
    static const QRegularExpression angled(QStringLiteral(R"(^\s*#\s*include\s*<([^>]+)>)"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      found << QStringLiteral("%1: cannot be read").arg(shown);
      return;
    }
    const bool core = !isGuiFile(QFileInfo(path).fileName());
    int number = 0;
    while (!file.atEnd()) {
      const QString line = QString::fromUtf8(file.readLine()).trimmed();
      ++number;
      const QString where = QStringLiteral("%1:%2: %3").arg(shown).arg(number).arg(line);
      if (const auto match = quoted.match(line); match.hasMatch()) {
        const QString target = match.captured(1);
        const auto slash = target.indexOf(u'/');
        if (slash < 0)
          continue; // its own folder
        const auto targetLevel = layers_.indexOf(target.left(slash));
        if (targetLevel < 0)
          found << where + QStringLiteral("  (not a layer)");
        else if (targetLevel > level)
          found << where + QStringLiteral("  (points up to %1)").arg(layers_[targetLevel]);
      } else if (const auto header = angled.match(line); header.hasMatch() && core) {
        // <QWidget> and <QtWidgets/QWidget> alike.
        const QString name = header.captured(1).section(u'/', -1);
        if (guiHeaders_.contains(name))
          found << where + QStringLiteral("  (GUI header in the core)");
      }
    }
  }

  QStringList layers_;
  QSet<QString> guiHeaders_;
};

QSet<QString> guiHeadersOfThisQt() {
  QSet<QString> names;
  for (const QString& dir : listFromDefinition(MELDLUX_GUI_HEADER_DIRS))
    for (const QString& name : QDir(dir).entryList(QDir::Files))
      names.insert(name);
  return names;
}

} // namespace

TEST(Layers, EveryIncludeUnderSrcPointsDownAndTheCoreSeesNoGuiHeader) {
  const QSet<QString> gui = guiHeadersOfThisQt();
  ASSERT_TRUE(gui.contains(u"QWidget"_qs) && gui.contains(u"QPainter"_qs))
      << "Qt's GUI headers were not found; the check would pass by accident";
  const LayerCheck check(listFromDefinition(MELDLUX_LAYERS), gui);
  const QStringList found = check.violations(QStringLiteral(MELDLUX_SOURCE_DIR "/src"));
  EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

TEST(Layers, CheckFindsUpwardIncludesUnknownFoldersAndGuiHeadersInTheCore) {
  QTemporaryDir root;
  auto write = [&](const QString& relative, const QByteArray& text) {
    QDir(root.path()).mkpath(QFileInfo(root.filePath(relative)).path());
    QFile file(root.filePath(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  };
  write(u"low/a.h"_qs, "#include \"low/b.h\"\n#include \"c.h\"\n#include <QString>\n");
  write(u"high/ok.cpp"_qs, "#include \"low/a.h\"\n#include \"high/ok.h\"\n");
  write(u"high/shown_window.cpp"_qs, "#include <QWidget>\n#include <QtGui/QPainter>\n");
  write(u"low/up.cpp"_qs, "// a comment\n  #  include \"high/ok.h\"\n");
  write(u"low/painter.cpp"_qs, "#include <QtGui/QPainter>\n");
  write(u"low/bits.h"_qs, "#include \"tools/thing.h\"\n");
  write(u"stray/x.h"_qs, "\n");

  const LayerCheck check({u"low"_qs, u"high"_qs}, {u"QWidget"_qs, u"QPainter"_qs});
  QStringList found = check.violations(root.path());
  found.sort();
  EXPECT_EQ(found, QStringList({
                       u"low/bits.h:1: #include \"tools/thing.h\"  (not a layer)"_qs,
                       u"low/painter.cpp:1: #include <QtGui/QPainter>  (GUI header in the core)"_qs,
                       u"low/up.cpp:2: #  include \"high/ok.h\"  (points up to high)"_qs,
                       u"stray/: folder has no place among the layers"_qs,
                   }));
}
