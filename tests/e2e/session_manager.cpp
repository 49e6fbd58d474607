// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/session_manager.h"

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <poll.h>

// libICE's own switch for a transport not to listen on (exported, though not in its headers):
// the manager must not be reachable from the network.
extern "C" int _IceTransNoListen(const char* protocol);

namespace meldlux::e2e {

struct SessionManagerCallbacks {
  static Bool anyHost(char*) { return True; }

  static Status registerClient(SmsConn sms, SmPointer data, char* previousId) {
    free(previousId);
    char* id = SmsGenerateClientID(sms);
    if (id == nullptr)
      id = strdup("1meldlux-test-client"); // SmsGenerateClientID wants a resolvable host name
    SmsRegisterClientReply(sms, id);       // keeps a copy
    free(id);
    ++static_cast<SessionManager*>(data)->registered_;
    return 1;
  }
  static void interactRequest(SmsConn sms, SmPointer, int) { SmsInteract(sms); }
  static void interactDone(SmsConn, SmPointer, Bool) {}
  static void saveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
  static void phase2Request(SmsConn sms, SmPointer) { SmsSaveYourselfPhase2(sms); }
  static void saveYourselfDone(SmsConn, SmPointer data, Bool) {
    ++static_cast<SessionManager*>(data)->savesDone_;
  }
  static void closeConnection(SmsConn sms, SmPointer data, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    auto* self = static_cast<SessionManager*>(data);
    if (self->client_ == sms)
      self->client_ = nullptr;
    SmsCleanUp(sms);
  }
  static void setProperties(SmsConn, SmPointer, int count, SmProp** properties) {
    for (int i = 0; i < count; ++i)
      SmFreeProperty(properties[i]);
    free(properties);
  }
  static void deleteProperties(SmsConn, SmPointer, int count, char** names) {
    SmFreeReasons(count, names); // a list of strings, freed the same way
  }
  static void getProperties(SmsConn sms, SmPointer) { SmsReturnProperties(sms, 0, nullptr); }

  static Status newClient(SmsConn sms, SmPointer data, unsigned long* mask, SmsCallbacks* callbacks,
                          char**) {
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
            SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
            SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
    callbacks->register_client = {registerClient, data};
    callbacks->interact_request = {interactRequest, data};
    callbacks->interact_done = {interactDone, data};
    callbacks->save_yourself_request = {saveYourselfRequest, data};
    callbacks->save_yourself_phase2_request = {phase2Request, data};
    callbacks->save_yourself_done = {saveYourselfDone, data};
    callbacks->close_connection = {closeConnection, data};
    callbacks->set_properties = {setProperties, data};
    callbacks->delete_properties = {deleteProperties, data};
    callbacks->get_properties = {getProperties, data};
    static_cast<SessionManager*>(data)->client_ = sms;
    return 1;
  }
};

namespace {

// The libraries' defaults end the whole test program on a broken connection.
void quietIceIoError(IceConn) {}
void quietIceError(IceConn, Bool, int, unsigned long, int, int, IcePointer) {}
void quietSmsError(SmsConn, Bool, int, unsigned long, int, int, SmPointer) {}

} // namespace

bool SessionManager::start() {
  IceSetIOErrorHandler(quietIceIoError);
  IceSetErrorHandler(quietIceError);
  SmsSetErrorHandler(quietSmsError);
  for (const char* network : {"tcp", "inet", "inet6"})
    _IceTransNoListen(network);
  char reason[256] = {};
  if (!SmsInitialize("meldlux-test", "1", SessionManagerCallbacks::newClient, this,
                     SessionManagerCallbacks::anyHost, sizeof reason, reason)) {
    error_ = QString::fromLocal8Bit(reason);
    return false;
  }
  IceListenObj* listeners = nullptr;
  if (!IceListenForConnections(&listenerCount_, &listeners, sizeof reason, reason)) {
    error_ = QString::fromLocal8Bit(reason);
    return false;
  }
  listeners_ = listeners;
  for (int i = 0; i < listenerCount_; ++i) {
    IceSetHostBasedAuthProc(listeners[i], SessionManagerCallbacks::anyHost);
    char* name = IceGetListenConnectionString(listeners[i]);
    const QString address = QString::fromLocal8Bit(name);
    free(name);
    if (!address.startsWith(u"local/") && !address.startsWith(u"unix/"))
      error_ = QStringLiteral("listens beyond this machine: ") + address;
  }
  if (!error_.isEmpty())
    return false;
  char* all = IceComposeNetworkIdList(listenerCount_, listeners);
  address_ = QString::fromLocal8Bit(all);
  free(all);
  thread_ = std::thread([this] { run(); });
  return true;
}

SessionManager::~SessionManager() {
  stop_ = true;
  if (thread_.joinable())
    thread_.join();
  for (void* connection : connections_) {
    endClient(connection);
    IceSetShutdownNegotiation(static_cast<IceConn>(connection), False);
    IceCloseConnection(static_cast<IceConn>(connection));
  }
  if (listeners_ != nullptr)
    IceFreeListenObjs(listenerCount_, static_cast<IceListenObj*>(listeners_));
}

// A client gone without saying goodbye leaves its part of the protocol to be freed.
void SessionManager::endClient(void* connection) {
  auto* client = static_cast<SmsConn>(client_);
  if (client != nullptr && SmsGetIceConnection(client) == connection) {
    SmsCleanUp(client);
    client_ = nullptr;
  }
}

void SessionManager::post(std::function<void()> job) {
  const std::lock_guard lock(jobsMutex_);
  jobs_.push_back(std::move(job));
}

void SessionManager::saveYourself(bool shutdown) {
  post([this, shutdown] {
    if (client_ != nullptr)
      SmsSaveYourself(static_cast<SmsConn>(client_), SmSaveBoth, shutdown ? True : False,
                      SmInteractStyleAny, False);
  });
}

void SessionManager::saveComplete() {
  post([this] {
    if (client_ != nullptr)
      SmsSaveComplete(static_cast<SmsConn>(client_));
  });
}

void SessionManager::shutdownCancelled() {
  post([this] {
    if (client_ != nullptr)
      SmsShutdownCancelled(static_cast<SmsConn>(client_));
  });
}

void SessionManager::die() {
  post([this] {
    if (client_ != nullptr)
      SmsDie(static_cast<SmsConn>(client_));
  });
}

void SessionManager::run() {
  auto* listeners = static_cast<IceListenObj*>(listeners_);
  while (!stop_) {
    std::vector<std::function<void()>> jobs;
    {
      const std::lock_guard lock(jobsMutex_);
      jobs.swap(jobs_);
    }
    for (const auto& job : jobs)
      job();

    std::vector<pollfd> watched;
    for (int i = 0; i < listenerCount_; ++i)
      watched.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
    for (void* connection : connections_)
      watched.push_back({IceConnectionNumber(static_cast<IceConn>(connection)), POLLIN, 0});
    if (::poll(watched.data(), watched.size(), 50) <= 0)
      continue;

    for (int i = 0; i < listenerCount_; ++i) {
      if ((watched[i].revents & POLLIN) == 0)
        continue;
      IceAcceptStatus status;
      if (IceConn connection = IceAcceptConnection(listeners[i], &status);
          connection != nullptr && status == IceAcceptSuccess)
        connections_.push_back(connection);
    }
    std::vector<void*> ended;
    for (size_t i = 0; i < watched.size() - listenerCount_; ++i) {
      if ((watched[listenerCount_ + i].revents & (POLLIN | POLLHUP | POLLERR)) == 0)
        continue;
      auto* connection = static_cast<IceConn>(connections_[i]);
      switch (IceProcessMessages(connection, nullptr, nullptr)) {
      case IceProcessMessagesSuccess:
        break;
      case IceProcessMessagesIOError:
        endClient(connection);
        IceSetShutdownNegotiation(connection, False);
        IceCloseConnection(connection);
        ended.push_back(connection);
        break;
      case IceProcessMessagesConnectionClosed: // freed by the library already
        ended.push_back(connection);
        break;
      }
    }
    for (void* connection : ended) {
      connections_.erase(std::find(connections_.begin(), connections_.end(), connection));
      client_ = nullptr; // there is one client, and its connection is gone
    }
  }
}

} // namespace meldlux::e2e
