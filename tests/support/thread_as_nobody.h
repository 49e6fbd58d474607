// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/syscall.h>
#include <unistd.h>

// Root opens every file, so a test of an unreadable file runs its calling thread as "nobody" for
// a while: the raw system call changes this thread's effective user only (the C library's call
// would change every thread's), and root's rights come back when it ends. Not root: nothing to
// change, the file's mode already holds.
class ThreadAsNobody {
public:
  ThreadAsNobody() : switched_(::geteuid() == 0 && ::syscall(SYS_setresuid, -1, 65534, -1) == 0) {}
  ~ThreadAsNobody() {
    if (switched_)
      ::syscall(SYS_setresuid, -1, 0, -1);
  }
  ThreadAsNobody(const ThreadAsNobody&) = delete;
  ThreadAsNobody& operator=(const ThreadAsNobody&) = delete;

  // False when root could not become nobody; a test then cannot make a file unreadable.
  bool holds() const { return switched_ || ::geteuid() != 0; }

private:
  bool switched_;
};
