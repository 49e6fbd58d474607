// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A desktop session's manager as the X Session Management Protocol has it, for one client: it
// listens on a local socket only (the environment's SESSION_MANAGER names it), registers the
// client, asks it to save (a checkpoint or before a log-out), and then calls the log-out off or
// tells the client to die. It runs on a thread of its own; the test asks and watches.
namespace meldlux::e2e {

class SessionManager {
public:
  SessionManager() = default;
  SessionManager(const SessionManager&) = delete;
  SessionManager& operator=(const SessionManager&) = delete;
  ~SessionManager();

  // Empty when it could not listen (the reason is in error()).
  bool start();
  QString address() const { return address_; }
  QString error() const { return error_; }

  int registered() const { return registered_; }
  int savesDone() const { return savesDone_; }

  void saveYourself(bool shutdown); // the client answers with savesDone() + 1
  void saveComplete();              // after a checkpoint
  void shutdownCancelled();         // after a shut-down's save: it is called off
  void die();                       // after a shut-down's save: the session ends

private:
  void run();
  void post(std::function<void()> job);
  void endClient(void* connection);

  QString address_;
  QString error_;
  void* listeners_ = nullptr; // IceListenObj*, libICE's own
  int listenerCount_ = 0;
  void* client_ = nullptr; // SmsConn of the one client
  std::vector<void*> connections_;
  std::mutex jobsMutex_;
  std::vector<std::function<void()>> jobs_;
  std::atomic<int> registered_ = 0;
  std::atomic<int> savesDone_ = 0;
  std::atomic<bool> stop_ = false;
  std::thread thread_;

  friend struct SessionManagerCallbacks;
};

} // namespace meldlux::e2e
