// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace meldlux {

// One Meldlux per user and settings store: two would show every telegram twice and the one that
// ends last would write its settings over the other's. The first start holds a lock named from
// the store's location and listens on a local socket of the same name; a later start finds the
// lock held, knocks on the socket (the running one then shows its main window) and ends. The
// lock names its holder's process, so one left by a crash or a kill is taken over.
class SingleInstance final : public QObject {
  Q_OBJECT
public:
  // storeLocation: where the settings live. The lock lies in the user's runtime folder.
  explicit SingleInstance(const QString& storeLocation, QObject* parent = nullptr);

  // Takes the store for this process; false when a running one holds it, which has then been
  // asked to show its main window. A lock that cannot be written at all stops no start.
  bool claim();

Q_SIGNALS:
  // Another start asked for the main window.
  void showRequested();

private:
  SingleInstance(const QString& storeLocation, const QString& folder, QObject* parent);
  void knock() const;

  QString name_;
  QLockFile lock_;
  QLocalServer server_;
};

} // namespace meldlux
