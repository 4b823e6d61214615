// A byte stream to the XMPP server: a TCP connection over the system's
// sockets (BSD sockets natively, Winsock in the DLL). One thread receives
// while others send; Shutdown from any thread wakes a waiting Receive.
// Interface: Transport, MakeTcpTransport.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace lobbysvc {

class Transport {
 public:
  static constexpr int kClosed = 0;
  static constexpr int kError = -1;
  static constexpr int kTimedOut = -2;

  virtual ~Transport() = default;
  // False (with `error` set) when the host is unknown, refuses, or does not
  // answer within `timeoutMs`.
  virtual bool Connect(const std::string& host, uint16_t port, int timeoutMs,
                       std::string* error) = 0;
  // Every byte or false; a peer that takes nothing for `timeoutMs` fails it.
  virtual bool Send(const std::string& bytes, int timeoutMs) = 0;
  // Bytes read (> 0), kClosed, kError or kTimedOut.
  virtual int Receive(char* buffer, size_t size, int timeoutMs) = 0;
  // Ends the connection; a Receive waiting now or later returns at once.
  virtual void Shutdown() = 0;
  // Turns the connection into a TLS client session (after the server agreed
  // to STARTTLS). The server's certificate must be the one whose SHA-256
  // digest is `fingerprint` (64 hex digits, colons allowed), or with none
  // given, valid for `serverName` under the system's roots. False (with
  // `error` set) for any failure; the connection is then unusable.
  virtual bool StartTls(const std::string& serverName, const std::string& fingerprint,
                        int timeoutMs, std::string* error) = 0;
};

std::unique_ptr<Transport> MakeTcpTransport();

// A SHA-256 fingerprint in canonical form (64 lower-case hex digits), or
// empty when the text is not one.
std::string NormalizeFingerprint(const std::string& text);
std::string HexOf(const void* data, size_t size);

}  // namespace lobbysvc
