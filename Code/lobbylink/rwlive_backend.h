// The lobby-service back end (kind 1): locating and binding the RWLive
// client DLL, and the sequence of its calls behind each export.
// Interface: RWLiveLoader (the OS edge: registry, LoadLibrary,
// GetProcAddress), RWLiveLibrary (process-wide load, bind and reference
// count) and StartRWLiveBackEnd.
#pragma once

#include <memory>
#include <string>

#include "lobby_handle.h"
#include "rwlive_api.h"

namespace lobbylink {

class RWLiveLoader {
 public:
  virtual ~RWLiveLoader() = default;
  // The installed root directory, or empty when the service is not registered.
  virtual std::string RootDirectory() = 0;
  virtual void* Load(const std::string& path) = 0;
  virtual void* Bind(void* library, const char* name) = 0;
  virtual void Free(void* library) = 0;
};

// The loaded DLL, shared by every kind-1 handle of the process. Not thread
// safe: the exports are called on the host's user-interface thread.
class RWLiveLibrary {
 public:
  explicit RWLiveLibrary(RWLiveLoader& loader) : loader_(loader) {}
  // The first acquire locates, loads and binds the DLL and calls its init;
  // later ones only count. False (count unchanged) when loading or binding fails.
  bool Acquire();
  // The last release calls the DLL's destroy and frees it.
  void Release();
  int References() const { return references_; }
  const rwlive::Calls& Calls() const { return calls_; }
  // The path the last load used.
  const std::string& Path() const { return path_; }

 private:
  RWLiveLoader& loader_;
  void* library_ = nullptr;
  int references_ = 0;
  rwlive::Calls calls_{};
  std::string path_;
};

// Starts a kind-1 back end posting through `sink`; null for a null window, a
// zero message or a library that cannot be loaded.
LobbyBackEnd* StartRWLiveBackEnd(RWLiveLibrary& library, std::unique_ptr<LobbyRecordSink> sink,
                                 LobbyTarget target);

}  // namespace lobbylink
