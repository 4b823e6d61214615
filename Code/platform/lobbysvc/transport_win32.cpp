// TCP transport over Winsock (the service DLL). The caller starts Winsock
// (WSAStartup) before the first connection.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <mutex>

#include "transport.h"

namespace lobbysvc {
namespace {

bool WaitFor(SOCKET s, bool write, int timeoutMs) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  fd_set errors;
  FD_ZERO(&errors);
  FD_SET(s, &errors);
  timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  int r = select(0, write ? nullptr : &set, write ? &set : nullptr, &errors, &tv);
  return r > 0 && FD_ISSET(s, &set);
}

class WinsockTransport : public Transport {
 public:
  ~WinsockTransport() override {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }

  bool Connect(const std::string& host, uint16_t port, int timeoutMs,
               std::string* error) override {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &list) != 0 || !list) {
      *error = "unknown host " + host;
      return false;
    }
    *error = "cannot connect to " + host + ":" + service;
    int lastError = 0;
    for (addrinfo* a = list; a; a = a->ai_next) {
      SOCKET s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
      if (s == INVALID_SOCKET) continue;
      u_long nonBlocking = 1;
      ioctlsocket(s, FIONBIO, &nonBlocking);
      int rc = connect(s, a->ai_addr, int(a->ai_addrlen));
      if (rc != 0) lastError = WSAGetLastError();
      if (rc != 0 && lastError == WSAEWOULDBLOCK) {
        int err = 0;
        int len = sizeof err;
        rc = (WaitFor(s, true, timeoutMs) &&
              getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&err), &len) == 0 &&
              err == 0)
                 ? 0
                 : -1;
        if (rc != 0) lastError = err ? err : WSAETIMEDOUT;
      }
      if (rc == 0) {
        s_ = s;
        break;
      }
      closesocket(s);
    }
    freeaddrinfo(list);
    if (s_ == INVALID_SOCKET) {
      *error += " (error " + std::to_string(lastError) + ")";
      return false;
    }
    error->clear();
    return true;
  }

  bool Send(const std::string& bytes, int timeoutMs) override {
    std::lock_guard<std::mutex> lock(sendMutex_);
    size_t at = 0;
    while (at < bytes.size()) {
      if (down_) return false;
      int n = send(s_, bytes.data() + at, int(bytes.size() - at), 0);
      if (n > 0) {
        at += size_t(n);
        continue;
      }
      if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
      if (!WaitFor(s_, true, timeoutMs)) return false;
    }
    return true;
  }

  int Receive(char* buffer, size_t size, int timeoutMs) override {
    if (s_ == INVALID_SOCKET || down_) return kClosed;
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s_, &set);
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int r = select(0, &set, nullptr, nullptr, &tv);
    if (r == 0) return kTimedOut;
    if (r < 0) return kError;
    if (down_) return kClosed;
    int n = recv(s_, buffer, int(size), 0);
    if (n > 0) return n;
    if (n == 0) return kClosed;
    return WSAGetLastError() == WSAEWOULDBLOCK ? kTimedOut : kError;
  }

  void Shutdown() override {
    down_ = true;
    if (s_ != INVALID_SOCKET) shutdown(s_, SD_BOTH);
  }

  bool StartTls(const std::string&, const std::string&, int, std::string* error) override {
    *error = "encrypted connections are not available in this version";
    return false;
  }

 private:
  SOCKET s_ = INVALID_SOCKET;
  std::atomic<bool> down_{false};
  std::mutex sendMutex_;
};

}  // namespace

std::unique_ptr<Transport> MakeTcpTransport() { return std::make_unique<WinsockTransport>(); }

}  // namespace lobbysvc
