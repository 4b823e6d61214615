// DirectPlay's queue into records on a thread of its own.
#include "dplay_receiver_win32.h"

#include <utility>
#include <vector>

#include "dplay_messages.h"

namespace lobbylink {

DplayReceiver::DplayReceiver(IDirectPlay4A* play, LobbyRecordSink& sink, DebugOutput debug)
    : play_(play), sink_(sink), debug_(std::move(debug)) {}

DplayReceiver::~DplayReceiver() { Stop(); }

bool DplayReceiver::Start() {
  receive_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  stop_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (receive_ && stop_) thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
  if (thread_) return true;
  Stop();
  return false;
}

DWORD WINAPI DplayReceiver::ThreadMain(void* self) {
  auto* r = static_cast<DplayReceiver*>(self);
  const HANDLE events[2] = {r->receive_, r->stop_};
  for (;;) {
    const DWORD which = WaitForMultipleObjects(2, events, FALSE, INFINITE);
    if (which != WAIT_OBJECT_0) return 0;  // the stop event, or the wait failed
    r->Drain();
  }
}

void DplayReceiver::Drain() {
  // One buffer per drain, grown to exactly what DirectPlay asks for.
  std::vector<unsigned char> buffer;
  for (;;) {
    DPID from = 0, to = 0;
    DWORD size = DWORD(buffer.size());
    const HRESULT hr =
        play_->Receive(&from, &to, DPRECEIVE_ALL, buffer.empty() ? nullptr : buffer.data(), &size);
    if (hr == DPERR_BUFFERTOOSMALL) {
      if (size <= buffer.size() || size > kMaxBuffer) return;
      buffer.assign(size, 0);
      continue;
    }
    if (FAILED(hr)) return;  // DPERR_NOMESSAGES once the queue is empty
    if (size > buffer.size()) return;  // a size beyond what was handed over
    HandleDplayMessage(sink_, ownId_, from, to, buffer.data(), size, debug_);
  }
}

void DplayReceiver::Stop() {
  if (thread_) {
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  if (stop_) CloseHandle(stop_);
  if (receive_) CloseHandle(receive_);
  stop_ = receive_ = nullptr;
}

}  // namespace lobbylink
