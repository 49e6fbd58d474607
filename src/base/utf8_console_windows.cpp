// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/utf8_console.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <utility>
#include <windows.h>

namespace meldlux {

namespace {

bool redirected(DWORD stream) {
  const HANDLE handle = GetStdHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

Utf8Console::Utf8Console(bool attachToParent) {
  if (attachToParent && !redirected(STD_OUTPUT_HANDLE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    std::freopen("CONOUT$", "w", stdout);
    if (!redirected(STD_ERROR_HANDLE))
      std::freopen("CONOUT$", "w", stderr);
  }
  const UINT current = GetConsoleOutputCP(); // 0 without a console
  if (current != 0 && current != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
    previousCodePage_ = current;
  // To a console the C library in text mode reads the bytes in a code page of its own, and
  // unbuffered it writes them in small pieces, which can split a letter's UTF-8 bytes (each half
  // then shows as a replacement sign): bytes as they are, whole texts from a buffer (the programs
  // flush after each line they print while running). Pipes and files keep the usual text mode.
  for (const auto& [stream, handle] :
       {std::pair{stdout, STD_OUTPUT_HANDLE}, std::pair{stderr, STD_ERROR_HANDLE}}) {
    if (GetFileType(GetStdHandle(handle)) != FILE_TYPE_CHAR || GetConsoleOutputCP() != CP_UTF8)
      continue;
    _setmode(_fileno(stream), _O_BINARY);
    std::setvbuf(stream, nullptr, _IOFBF, 1 << 16);
  }
}

Utf8Console::~Utf8Console() {
  std::fflush(stdout);
  std::fflush(stderr);
  if (previousCodePage_ != 0)
    SetConsoleOutputCP(previousCodePage_);
}

} // namespace meldlux
