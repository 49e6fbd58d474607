// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <string>

// The one Qt application object of a fuzzer's whole run, made on its first input.
inline void needQtApplication(const char* name) {
  static int argc = 1;
  static std::string stored = name;
  static char* argv[] = {stored.data(), nullptr};
  static QCoreApplication application(argc, argv);
}
