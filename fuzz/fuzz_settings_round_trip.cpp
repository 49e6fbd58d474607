// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes as the settings store and runs them through the options model the way a
// start and an orderly exit do: load into a fresh program, save, load the saved store into a
// second program, save again.
//
// Input: byte 0 bit 0 also writes the bytes after the cut as the first server product's store
// (status colours, organisation codes); byte 1 chooses the cut. The rest is the program's store.
//
// Nothing may crash; besides that, what must hold:
// - after loading, MsgLines lies in 1..30 and MsgTime in 0..65, the position is top or bottom and
//   agrees with PopupPosition, the percentages and the font size are finite;
// - a store that loads completely gives its text keys to their boxes verbatim (the keepalive box
//   "0" for a value of 0) and its check-box keys their rounded number itself (a stored "2" is 2);
// - the store written at exit loads without a failure into exactly the state it was written
//   from, and writing that state again changes no byte.
#include "app/application.h"
#include "base/clock.h"
#include "base/event_log.h"
#include "base/numbers.h"
#include "property.h"
#include "qt_application.h"
#include "settings/save_settings.h"
#include "settings/setting_keys.h"
#include "settings/verbatim_ini_format.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace meldlux;

const QString kOwn = QString::fromLatin1(SettingsStore::kApplication);
const QString kZentrix = QString::fromLatin1(SettingsStore::kZentrix);

void writeFile(const QString& path, QByteArrayView bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    fail("cannot write the scratch store");
  file.write(bytes.data(), bytes.size());
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<Application> program() {
  return std::make_unique<Application>(std::make_unique<ManualClock>(),
                                       std::make_unique<EventLog>());
}

void checkRanges(Application& app) {
  const Options& options = app.options();
  const double lines = options.number(Text::txtMsgLines);
  const double time = options.number(Text::txtMsgTime);
  require(lines >= 1 && lines <= 30, "MsgLines outside 1..30");
  require(time >= 0 && time <= 65, "MsgTime outside 0..65");
  require(options.selectedPosition() == 0 || options.selectedPosition() == 1, "no position");
  require(options.PopupPosition == options.selectedPosition(), "PopupPosition disagrees");
  require(std::isfinite(options.PopupWidthPercent) && std::isfinite(options.PopupLeftPercent),
          "a percentage that is not finite");
  const double size = app.popupAppearance().font().size;
  require(std::isfinite(size), "a font size that is no number");
}

// With the whole store read: text keys verbatim, check-box keys by their rounded number.
void checkLoadedAsStored(Application& app) {
  const Options& options = app.options();
  for (const SettingKey& key : SettingKeys::loadOrder()) {
    const QString stored =
        app.settingsStore().read(kOwn, key.sectionText(), key.nameText(), key.defaultText());
    if (key.target == SettingTarget::TextBox) {
      const Text box = Text(key.control);
      if (box == Text::txtMsgLines || box == Text::txtMsgTime || box == Text::txtKeepalive)
        continue; // their rules may change them
      require(options.text(box) == stored, "a text key not loaded verbatim");
    } else if (key.target == SettingTarget::CheckBox) {
      require(options.value(Check(key.control)) == roundToInt16(leadingNumber(stored)),
              "a check-box key not loaded as its number");
    }
  }
  const QString keepalive =
      app.settingsStore().read(kOwn, QStringLiteral("Server"), QStringLiteral("Keepalive"),
                               QStringLiteral("300"));
  require(options.text(Text::txtKeepalive) ==
              (leadingNumber(keepalive) == 0 ? QStringLiteral("0") : keepalive),
          "Keepalive not loaded as stored");
}

// Every key as the save writes it, before the store cuts a value at a line break.
QStringList savedTexts(Application& app) {
  EventLog off;
  const SaveSettings save(app.settingsStore(), app.options(), app.statusTables(),
                          app.popupAppearance(), off);
  QStringList texts;
  for (const SettingKey& key : SettingKeys::loadOrder())
    texts << save.textOf(key, true);
  return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  needQtApplication("fuzz_settings_round_trip");
  // Every save rewrites the file and syncs it to disk forty times over; on a memory file system
  // that costs nothing.
  static QTemporaryDir home(QDir(QStringLiteral("/dev/shm")).exists()
                                ? QStringLiteral("/dev/shm/meldlux-fuzz-XXXXXX")
                                : QDir::tempPath() + QStringLiteral("/meldlux-fuzz-XXXXXX"));
  require(home.isValid(), "no scratch folder");
  if (size < 2)
    return 0;

  // Each start gets a config folder of its own, as a new process would read the file afresh:
  // within one process QSettings answers from what it last wrote or read of a path.
  static int run = 0;
  ++run;
  const auto configHome = [&](const char* which) {
    const QString folder = home.filePath(QString::number(run) + QLatin1StringView(which));
    QDir().mkpath(folder + QStringLiteral("/meldlux"));
    qputenv("XDG_CONFIG_HOME", folder.toUtf8());
    return folder + QStringLiteral("/meldlux/");
  };
  const QString ini = QStringLiteral(".ini");

  const bool withZentrix = data[0] & 1;
  const QByteArrayView rest(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
  const qsizetype cut = withZentrix ? qsizetype(data[1]) * rest.size() / 256 : rest.size();
  const QString firstFolder = configHome("a");
  writeFile(firstFolder + kOwn + ini, rest.first(cut));
  if (withZentrix)
    writeFile(firstFolder + kZentrix + ini, rest.sliced(cut));

  // The first start: whatever the store holds.
  QByteArray written;
  QStringList firstState;
  {
    const auto first = program();
    const bool loaded = first->loadSettingsAtStart();
    checkRanges(*first);
    if (loaded)
      checkLoadedAsStored(*first);
    for (const QString& text : savedTexts(*first))
      firstState << VerbatimIniFormat::singleLine(text);
    first->saveSettingsAtExit(true);
    written = readFile(firstFolder + kOwn + ini);
  }
  // The second start reads what the first one wrote, and writes it back unchanged.
  const QString secondFolder = configHome("b");
  writeFile(secondFolder + kOwn + ini, written);
  {
    const auto second = program();
    require(second->loadSettingsAtStart(), "a store we wrote fails to load");
    checkRanges(*second);
    checkLoadedAsStored(*second);
    require(savedTexts(*second) == firstState, "a store we wrote loads into another state");
    second->saveSettingsAtExit(true);
  }
  require(readFile(secondFolder + kOwn + ini) == written,
          "a store we wrote changed on the next start and exit");
  QDir(home.filePath(QString::number(run) + u'a')).removeRecursively();
  QDir(home.filePath(QString::number(run) + u'b')).removeRecursively();
  return 0;
}
