// The DirectPlay back end (kind 0): one DirectPlay session per handle;
// providers, sessions and address parts found are posted as records, and a
// receive thread turns DirectPlay's messages into records.
// Interface: DplayObjects (how DirectPlay's objects are made: the system's,
// or a test's fakes) and StartDplayBackEnd.
#pragma once

#include <windows.h>
#include <dplay.h>
#include <dplobby.h>

#include <functional>
#include <memory>

#include "lobby_handle.h"

namespace lobbylink {

class DplayObjects {
 public:
  virtual ~DplayObjects() = default;
  virtual HRESULT CreateDirectPlay(IDirectPlay4A** play) = 0;
  virtual HRESULT CreateLobby(IDirectPlayLobby3A** lobby) = 0;
};

// The system's DirectPlay through COM.
DplayObjects& SystemDplayObjects();

// Null when DirectPlay cannot be made or lists no connections; the debug
// output gets what went wrong.
LobbyBackEnd* StartDplayBackEnd(DplayObjects& objects, std::unique_ptr<LobbyRecordSink> sink,
                                LobbyTarget target, const LobbyHandle& handle,
                                std::function<void(const char*)> debug);

}  // namespace lobbylink
