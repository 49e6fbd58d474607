// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/windows_registry.h"

#ifdef _WIN32

#include <windows.h>

#include <vector>

namespace meldlux {

namespace {

const wchar_t* wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// REG_SZ holds at most what a DWORD byte count can describe, terminating null included.
constexpr std::size_t kMostChars = 0x7FFFFFFE / sizeof(char16_t);

} // namespace

std::optional<std::u16string> WindowsRegistry::readString(const std::u16string& keyPath,
                                                          const std::u16string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(keyPath), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return std::nullopt;
  std::optional<std::u16string> result;
  std::vector<char16_t> buffer(256);
  // Another program may make the value longer between asking for its size and reading it.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD bytes = DWORD(buffer.size() * sizeof(char16_t));
    const LSTATUS status =
        RegGetValueW(key, nullptr, wide(name), RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes);
    if (status == ERROR_MORE_DATA) {
      buffer.resize(bytes / sizeof(char16_t) + 1);
      continue;
    }
    if (status == ERROR_SUCCESS) {
      std::size_t length = bytes / sizeof(char16_t);
      if (length > 0 && buffer[length - 1] == u'\0') // the count includes the terminating null
        --length;
      result = std::u16string(buffer.data(), length);
    }
    break;
  }
  RegCloseKey(key);
  return result;
}

bool WindowsRegistry::writeString(const std::u16string& keyPath, const std::u16string& name,
                                  const std::u16string& value) {
  if (value.size() > kMostChars)
    return false;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, wide(keyPath), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const DWORD bytes = DWORD((value.size() + 1) * sizeof(char16_t));
  const LSTATUS status = RegSetValueExW(key, wide(name), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

} // namespace meldlux

#endif
