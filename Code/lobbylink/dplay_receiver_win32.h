// The DirectPlay back end's receive side: one thread per session that waits
// on the receive event DirectPlay signals (handed over with CreatePlayer) and
// on a stop event, and drains DirectPlay's queue into records.
// Interface: DplayReceiver (Start, ReceiveEvent, SetOwnId, Drain, Stop).
#pragma once

#include <windows.h>
#include <dplay.h>

#include <atomic>
#include <functional>

#include "lobby_records.h"

namespace lobbylink {

class DplayReceiver {
 public:
  using DebugOutput = std::function<void(const char*)>;
  // `play` and `sink` stay the caller's and must outlive Stop.
  DplayReceiver(IDirectPlay4A* play, LobbyRecordSink& sink, DebugOutput debug);
  ~DplayReceiver();
  DplayReceiver(const DplayReceiver&) = delete;
  DplayReceiver& operator=(const DplayReceiver&) = delete;

  // Creates the two events and the thread; false when any cannot be made.
  bool Start();
  HANDLE ReceiveEvent() const { return receive_; }
  void SetOwnId(DPID id) { ownId_ = id; }
  // Every waiting message into a record (or dropped); ends when DirectPlay
  // has none left or fails.
  void Drain();
  // Ends the thread and waits for it: afterwards nothing touches `play`.
  void Stop();

  // The largest buffer a drain grows to: DirectPlay must hand over a message
  // to take it off its queue, even one that is then dropped.
  static constexpr DWORD kMaxBuffer = 16 * 1024 * 1024;

 private:
  static DWORD WINAPI ThreadMain(void* self);

  IDirectPlay4A* play_;
  LobbyRecordSink& sink_;
  DebugOutput debug_;
  std::atomic<DPID> ownId_{0};
  HANDLE receive_ = nullptr, stop_ = nullptr, thread_ = nullptr;
};

}  // namespace lobbylink
