// TCP transport over BSD sockets (native builds: lobbyctl and the tests).
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "transport.h"

namespace lobbysvc {
namespace {

class PosixTransport : public Transport {
 public:
  ~PosixTransport() override {
    if (fd_ >= 0) close(fd_);
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
    for (addrinfo* a = list; a; a = a->ai_next) {
      int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
      if (fd < 0) continue;
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
      int rc = connect(fd, a->ai_addr, a->ai_addrlen);
      if (rc != 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        int err = 0;
        socklen_t len = sizeof err;
        rc = (poll(&p, 1, timeoutMs) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 &&
              err == 0)
                 ? 0
                 : -1;
      }
      if (rc == 0) {
        fd_ = fd;
        break;
      }
      close(fd);
    }
    freeaddrinfo(list);
    if (fd_ < 0) return false;
    error->clear();
    return true;
  }

  bool Send(const std::string& bytes, int timeoutMs) override {
    std::lock_guard<std::mutex> lock(sendMutex_);
    size_t at = 0;
    while (at < bytes.size()) {
      if (down_) return false;
      ssize_t n = send(fd_, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
      if (n > 0) {
        at += size_t(n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
      pollfd p{fd_, POLLOUT, 0};
      if (poll(&p, 1, timeoutMs) != 1 || (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return false;
    }
    return true;
  }

  int Receive(char* buffer, size_t size, int timeoutMs) override {
    if (fd_ < 0 || down_) return kClosed;
    pollfd p{fd_, POLLIN, 0};
    int r = poll(&p, 1, timeoutMs);
    if (r == 0) return kTimedOut;
    if (r < 0) return errno == EINTR ? kTimedOut : kError;
    if (down_) return kClosed;
    ssize_t n = recv(fd_, buffer, size, 0);
    if (n > 0) return int(n);
    if (n == 0) return kClosed;
    return (errno == EAGAIN || errno == EINTR) ? kTimedOut : kError;
  }

  void Shutdown() override {
    down_ = true;
    if (fd_ >= 0) shutdown(fd_, SHUT_RDWR);
  }

 private:
  int fd_ = -1;
  std::atomic<bool> down_{false};
  std::mutex sendMutex_;
};

}  // namespace

std::unique_ptr<Transport> MakeTcpTransport() { return std::make_unique<PosixTransport>(); }

}  // namespace lobbysvc
