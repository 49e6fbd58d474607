// SPDX-License-Identifier: GPL-3.0-or-later
// The registry store against a real registry. Built with mingw-w64 and run under Wine (see
// tests/CMakeLists.txt), so it uses the Win32 API and no Qt or GoogleTest.
#include "settings/windows_registry.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

using meldlux::WindowsRegistry;

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const char* what, const char* context, int line) {
  if (ok) {
    ++passed;
    return;
  }
  ++failed;
  std::printf("FAILED line %d [%s]: %s\n", line, context, what);
}

#define CHECK(context, condition) check((condition), #condition, (context), __LINE__)

const wchar_t* wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string numbered(std::size_t length) {
  // No two neighbours alike, so a lost, doubled or shifted character shows.
  std::u16string text;
  for (std::size_t i = 0; i < length; ++i)
    text += char16_t(u'A' + i % 23);
  return text;
}

struct RawValue {
  DWORD type = REG_NONE;
  std::vector<char16_t> data; // exactly the stored bytes, as UTF-16 units
};

// What the registry holds, read with the plain API and nothing of the store's.
bool rawRead(const std::u16string& keyPath, const std::u16string& name, RawValue& out) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(keyPath), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return false;
  DWORD bytes = 0;
  LSTATUS status = RegQueryValueExW(key, wide(name), nullptr, &out.type, nullptr, &bytes);
  if (status == ERROR_SUCCESS) {
    out.data.assign(bytes / sizeof(char16_t), u'\0');
    status = RegQueryValueExW(key, wide(name), nullptr, &out.type,
                              reinterpret_cast<BYTE*>(out.data.data()), &bytes);
  }
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool rawWrite(const std::u16string& keyPath, const std::u16string& name, DWORD type,
              const void* data, DWORD bytes) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, wide(keyPath), wide(name), type, data, bytes) ==
         ERROR_SUCCESS;
}

bool keyExists(const std::u16string& keyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(keyPath), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

} // namespace

int main() {
  const std::string unique =
      std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64());
  const std::u16string base =
      u"Software\\Meldlux registry test " + std::u16string(unique.begin(), unique.end());
  const std::u16string section = base + u"\\Einstellungen";

  struct Case {
    const char* what;
    std::u16string name;
    std::u16string value;
  };
  const std::vector<Case> cases = {
      {"at sign alone", u"At", u"@"},
      {"doubled at sign", u"AtAt", u"@@x"},
      {"Qt's invalid marker", u"AtInvalid", u"@Invalid()"},
      {"empty value", u"Leer", u""},
      {"CR LF inside", u"Zeilen", u"eins\r\nzwei\r\n\r\ndrei"},
      {"umlauts and a surrogate pair", u"Umlaute",
       u"Gr\u00f6\u00dfe \u00c4rger \u00fcber \u20ac \U0001F692"},
      {"name with umlaut and at sign", u"Schl\u00fcssel@", u"Wert"},
      {"default value of the key", u"", u"Standard"},
      {"255 chars fill the first buffer", u"Fill255", numbered(255)},
      {"256 chars need a second read", u"Fill256", numbered(256)},
      {"32 KB", u"Gross32K", numbered(32 * 1024)},
      {"100,000 chars", u"Gross100K", numbered(100000)},
  };

  for (const Case& c : cases) {
    CHECK(c.what, WindowsRegistry::writeString(section, c.name, c.value));
    // Stored as REG_SZ, every character and one terminating null.
    RawValue raw;
    CHECK(c.what, rawRead(section, c.name, raw));
    CHECK(c.what, raw.type == REG_SZ);
    std::u16string expected = c.value;
    expected += u'\0';
    CHECK(c.what, std::u16string(raw.data.begin(), raw.data.end()) == expected);
    CHECK(c.what, WindowsRegistry::readString(section, c.name) == c.value);
  }

  // A shorter value over a longer one leaves nothing of the old one.
  CHECK("overwrite", WindowsRegistry::writeString(section, u"Gross100K", u"kurz"));
  CHECK("overwrite", WindowsRegistry::readString(section, u"Gross100K") == u"kurz");

  // Other programs may store a REG_SZ without its terminating null. The registry adds the null
  // itself when the character after the counted ones is one, so that one is not.
  const std::u16string stored = u"ohne Null!";
  const DWORD storedBytes = DWORD((stored.size() - 1) * sizeof(char16_t));
  CHECK("no terminating null", rawWrite(section, u"OhneNull", REG_SZ, stored.data(), storedBytes));
  RawValue bare;
  CHECK("no terminating null", rawRead(section, u"OhneNull", bare) && bare.data.back() == u'l');
  CHECK("no terminating null",
        WindowsRegistry::readString(section, u"OhneNull") == stored.substr(0, stored.size() - 1));

  // Missing key, missing value and a value of another type are no value at all.
  CHECK("missing key", !WindowsRegistry::readString(base + u"\\Fehlt", u"At").has_value());
  CHECK("missing value", !WindowsRegistry::readString(section, u"Fehlt").has_value());
  const DWORD number = 42;
  CHECK("REG_DWORD", rawWrite(section, u"Zahl", REG_DWORD, &number, sizeof number));
  CHECK("REG_DWORD", !WindowsRegistry::readString(section, u"Zahl").has_value());
  const BYTE bytes[] = {'a', 0, 'b', 0, 0, 0};
  CHECK("REG_BINARY", rawWrite(section, u"Bytes", REG_BINARY, bytes, sizeof bytes));
  CHECK("REG_BINARY", !WindowsRegistry::readString(section, u"Bytes").has_value());

  // Writing creates every missing key on the way.
  const std::u16string nested = base + u"\\Neu\\Tiefer\\Am Tiefsten";
  CHECK("nested keys", !keyExists(base + u"\\Neu"));
  CHECK("nested keys", WindowsRegistry::writeString(nested, u"Wert", u"@"));
  CHECK("nested keys", WindowsRegistry::readString(nested, u"Wert") == u"@");

  // The scratch key goes, whatever failed above.
  CHECK("cleanup", RegDeleteTreeW(HKEY_CURRENT_USER, wide(base)) == ERROR_SUCCESS);
  CHECK("cleanup", !keyExists(base));

  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
