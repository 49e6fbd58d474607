// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a shut-down that is asked for and then called off (another program said no, or the user
// cancelled): every top-level window of the named program gets WM_QUERYENDSESSION, then
// WM_ENDSESSION with FALSE, as Windows sends them. Exit code 0 when it reached a window.
//   cancelled_session_end.exe PROGRAM.exe
#include <windows.h>

#include <tlhelp32.h>

#include <cwchar>
#include <vector>

namespace {

std::vector<DWORD> processesNamed(const wchar_t* name) {
  std::vector<DWORD> ids;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE)
    return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, name) == 0)
      ids.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

struct Search {
  std::vector<DWORD> processes;
  std::vector<HWND> windows;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  for (DWORD id : search->processes)
    if (id == process)
      search->windows.push_back(window);
  return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2)
    return 2;
  Search search{processesNamed(argv[1]), {}};
  EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
  for (UINT message : {UINT(WM_QUERYENDSESSION), UINT(WM_ENDSESSION)})
    for (HWND window : search.windows) {
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(window, message, FALSE, 0, SMTO_NORMAL, 5000, &answer);
    }
  return search.windows.empty() ? 1 : 0;
}
