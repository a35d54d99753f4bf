#pragma once
// One running instance per user. The first instance holds a lock file for its whole life and
// listens on a local socket beside it; a later start finds the lock taken, hands its open
// request to the first over the socket (wire format: handover_message.h) and ends.
//
// Files in the runtime folder:
//   velvasto.startup.lock  held while an instance decides its role, and while the first one
//                          shuts down, so a start never meets a half-made or half-gone instance
//   velvasto.lock          held by the running instance
//   velvasto.sock          where the running instance listens
//
// The running instance takes one connection at a time: it reads at most one request of bounded
// size, gives a peer that stays silent `peerTimeout` in all, ignores malformed requests and
// peers of other users, and answers each request it takes with one acknowledge byte.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "app/open_request.h"
#include "app/self_pipe.h"
#include "app/unique_fd.h"

namespace velvasto {

struct HandOverTimeouts {
  std::chrono::milliseconds peer{2000};   // for reading one whole request
  std::chrono::milliseconds reply{5000};  // for sending a request and getting its answer
};

class CSingleInstance {
 public:
  // Runs on the listener thread for every request taken; it must hand the request over to the
  // thread that processes it. Every request also asks the instance to come to the front.
  using RequestHandler = std::function<void(OpenRequest)>;

  // Decides the role in `runtimeFolder` (see runtime_dir.h). A lock file that cannot be made
  // raises code 24 (message 62025). When the socket cannot be made either side carries on
  // without a hand-over.
  explicit CSingleInstance(const std::filesystem::path& runtimeFolder, HandOverTimeouts timeouts = {});
  // The running instance stops listening, removes its socket and releases its lock.
  ~CSingleInstance();
  CSingleInstance(const CSingleInstance&) = delete;
  CSingleInstance& operator=(const CSingleInstance&) = delete;

  bool IsPrimary() const { return instanceLock_.Valid(); }

  // Running instance: starts taking requests. Connections made before this wait in the
  // socket's queue, so requests sent during start-up are processed once the program is ready.
  void Listen(RequestHandler onRequest);

  // Later instance: sends `request`; true when the running instance acknowledged it. False
  // also when there was nobody to send it to.
  bool HandOver(const OpenRequest& request);

 private:
  void ListenLoop(const std::stop_token& stop);
  void StopListening();
  void TakeOneRequest(int connection);

  std::filesystem::path startupLockPath_;
  std::filesystem::path socketPath_;
  HandOverTimeouts timeouts_;
  UniqueFd instanceLock_;  // valid in the running instance only
  UniqueFd socket_;        // listening socket (running instance) or connection (later instance)
  std::optional<SelfPipe> stop_;  // wakes the listener to stop; made by Listen
  RequestHandler onRequest_;
  std::jthread listener_;
};

}  // namespace velvasto
