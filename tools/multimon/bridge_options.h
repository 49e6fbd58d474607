// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio_chain.h"
#include "line_server.h"
#include "mqtt_link.h"

#include <QString>
#include <QStringList>

namespace meldlux::multimon {

// What the bridge's command line asks for, checked: where it serves, where its telegrams come
// from and, with MQTT, the broker.
struct BridgeOptions {
  enum class Mqtt { None, Publish, Subscribe };

  LineServer::Options server;
  QString listen;   // as given, for messages
  QString pipeline; // --run; empty: standard input (or --audio)
  QString audio;    // --audio: the bridge runs the receiver's chain itself
  QStringList decoderArguments;
  int audioTimeoutMs = 10'000;
  bool germanCharset = true;
  bool verbose = false;
  Mqtt mqtt = Mqtt::None;
  MqttLink::Options link; // with MQTT
  QString site;
  qsizetype mqttQueue = 1000;
};

// The outcome of reading the arguments: run with the options, or print a text and end with a
// code (the help or version on standard output with 0, a fault on standard error with 2).
struct BridgeCommandLine {
  enum class Action { Run, Print, Fail };

  Action action = Action::Run;
  QString text;
  BridgeOptions options;

  // The program's name first, as QCoreApplication::arguments() gives them; the broker password
  // of the environment is used when no file names one.
  static BridgeCommandLine parse(const QStringList& arguments, const QString& environmentPassword);
};

} // namespace meldlux::multimon
