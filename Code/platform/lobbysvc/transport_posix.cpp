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

#include <gnutls/crypto.h>
#include <gnutls/gnutls.h>
#include <gnutls/x509.h>

#include "transport.h"

namespace lobbysvc {
namespace {

// Waits until the socket can go the way gnutls wants; false on time-out.
bool WaitForTls(int fd, gnutls_session_t session, int timeoutMs) {
  pollfd p{fd, short(gnutls_record_get_direction(session) ? POLLOUT : POLLIN), 0};
  return poll(&p, 1, timeoutMs) == 1;
}

class PosixTransport : public Transport {
 public:
  ~PosixTransport() override {
    if (tls_) gnutls_deinit(tls_);
    if (credentials_) gnutls_certificate_free_credentials(credentials_);
    if (fd_ >= 0) close(fd_);
  }

  bool StartTls(const std::string& serverName, const std::string& fingerprint, int timeoutMs,
                std::string* error) override {
    const std::string wanted = NormalizeFingerprint(fingerprint);
    if (!fingerprint.empty() && wanted.empty()) {
      *error = "the certificate fingerprint is not 64 hex digits";
      return false;
    }
    if (gnutls_certificate_allocate_credentials(&credentials_) < 0 ||
        gnutls_init(&tls_, GNUTLS_CLIENT | GNUTLS_NONBLOCK) < 0) {
      *error = "cannot start TLS";
      return false;
    }
    if (wanted.empty()) gnutls_certificate_set_x509_system_trust(credentials_);
    gnutls_set_default_priority(tls_);
    gnutls_credentials_set(tls_, GNUTLS_CRD_CERTIFICATE, credentials_);
    gnutls_server_name_set(tls_, GNUTLS_NAME_DNS, serverName.data(), serverName.size());
    // With a fingerprint the certificate is checked against it below; else
    // against the system's roots and the server's name during the handshake.
    if (wanted.empty()) gnutls_session_set_verify_cert(tls_, serverName.c_str(), 0);
    gnutls_transport_set_int(tls_, fd_);
    int rc;
    do {
      rc = gnutls_handshake(tls_);
      if (rc == GNUTLS_E_AGAIN || rc == GNUTLS_E_INTERRUPTED) {
        if (!WaitForTls(fd_, tls_, timeoutMs)) {
          *error = "the server does not answer the TLS handshake";
          return false;
        }
        continue;
      }
    } while (rc < 0 && !gnutls_error_is_fatal(rc));
    if (rc < 0) {
      *error = std::string("TLS handshake failed: ") + gnutls_strerror(rc);
      return false;
    }
    if (!wanted.empty()) {
      unsigned count = 0;
      const gnutls_datum_t* chain = gnutls_certificate_get_peers(tls_, &count);
      unsigned char digest[32];
      if (!chain || count == 0 ||
          gnutls_hash_fast(GNUTLS_DIG_SHA256, chain[0].data, chain[0].size, digest) < 0 ||
          HexOf(digest, sizeof digest) != wanted) {
        *error = "the server's certificate is not the one expected";
        return false;
      }
    }
    secure_ = true;
    return true;
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
    if (secure_) return SendTls(bytes, timeoutMs);
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
    if (secure_) return ReceiveTls(buffer, size, timeoutMs);
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
  bool SendTls(const std::string& bytes, int timeoutMs) {
    size_t at = 0;
    while (at < bytes.size()) {
      if (down_) return false;
      const ssize_t n = gnutls_record_send(tls_, bytes.data() + at, bytes.size() - at);
      if (n > 0) {
        at += size_t(n);
      } else if (n == GNUTLS_E_AGAIN || n == GNUTLS_E_INTERRUPTED) {
        pollfd p{fd_, POLLOUT, 0};
        if (poll(&p, 1, timeoutMs) != 1) return false;
      } else {
        return false;
      }
    }
    return true;
  }

  int ReceiveTls(char* buffer, size_t size, int timeoutMs) {
    if (gnutls_record_check_pending(tls_) == 0) {
      pollfd p{fd_, POLLIN, 0};
      const int r = poll(&p, 1, timeoutMs);
      if (r == 0) return kTimedOut;
      if (r < 0) return errno == EINTR ? kTimedOut : kError;
      if (down_) return kClosed;
    }
    const ssize_t n = gnutls_record_recv(tls_, buffer, size);
    if (n > 0) return int(n);
    if (n == 0) return kClosed;
    if (n == GNUTLS_E_AGAIN || n == GNUTLS_E_INTERRUPTED) return kTimedOut;
    return kError;
  }

  gnutls_session_t tls_ = nullptr;
  gnutls_certificate_credentials_t credentials_ = nullptr;
  std::atomic<bool> secure_{false};
  int fd_ = -1;
  std::atomic<bool> down_{false};
  std::mutex sendMutex_;
};

}  // namespace

std::unique_ptr<Transport> MakeTcpTransport() { return std::make_unique<PosixTransport>(); }

}  // namespace lobbysvc
