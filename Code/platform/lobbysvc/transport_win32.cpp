// TCP transport over Winsock (the service DLL). The caller starts Winsock
// (WSAStartup) before the first connection.
#include <winsock2.h>
#include <ws2tcpip.h>
#define SECURITY_WIN32
#include <windows.h>
#include <bcrypt.h>
#include <schannel.h>
#include <security.h>
#include <wincrypt.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

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
    if (haveContext_) DeleteSecurityContext(&context_);
    if (haveCredentials_) FreeCredentialsHandle(&credentials_);
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
    if (secure_) return SendTls(bytes, timeoutMs);
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
    if (secure_) return ReceiveTls(buffer, size, timeoutMs);
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

  bool StartTls(const std::string& serverName, const std::string& fingerprint, int timeoutMs,
                std::string* error) override;

 private:
  bool SendRaw(const char* data, size_t size, int timeoutMs);
  // Appends what the socket has to raw_; a Receive result on failure, else 1.
  int ReadRaw(int timeoutMs);
  bool Verify(const std::string& serverName, const std::string& wanted, std::string* error);
  bool SendTls(const std::string& bytes, int timeoutMs);
  int ReceiveTls(char* buffer, size_t size, int timeoutMs);

  CredHandle credentials_{};
  CtxtHandle context_{};
  bool haveCredentials_ = false, haveContext_ = false;
  SecPkgContext_StreamSizes sizes_{};
  std::atomic<bool> secure_{false};
  std::string raw_;    // received, not yet decrypted
  std::string plain_;  // decrypted, not yet returned
  SOCKET s_ = INVALID_SOCKET;
  std::atomic<bool> down_{false};
  std::mutex sendMutex_;
};

bool WinsockTransport::SendRaw(const char* data, size_t size, int timeoutMs) {
  size_t at = 0;
  while (at < size) {
    if (down_) return false;
    int n = send(s_, data + at, int(size - at), 0);
    if (n > 0) {
      at += size_t(n);
      continue;
    }
    if (WSAGetLastError() != WSAEWOULDBLOCK || !WaitFor(s_, true, timeoutMs)) return false;
  }
  return true;
}

int WinsockTransport::ReadRaw(int timeoutMs) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s_, &set);
  timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  int r = select(0, &set, nullptr, nullptr, &tv);
  if (r == 0) return kTimedOut;
  if (r < 0) return kError;
  if (down_) return kClosed;
  char buffer[16384];
  int n = recv(s_, buffer, sizeof buffer, 0);
  if (n > 0) {
    raw_.append(buffer, size_t(n));
    return 1;
  }
  if (n == 0) return kClosed;
  return WSAGetLastError() == WSAEWOULDBLOCK ? kTimedOut : kError;
}

bool WinsockTransport::StartTls(const std::string& serverName, const std::string& fingerprint,
                                int timeoutMs, std::string* error) {
  const std::string wanted = NormalizeFingerprint(fingerprint);
  if (!fingerprint.empty() && wanted.empty()) {
    *error = "the certificate fingerprint is not 64 hex digits";
    return false;
  }
  SCHANNEL_CRED cred{};
  cred.dwVersion = SCHANNEL_CRED_VERSION;
  // The certificate is checked below, against the fingerprint or the roots.
  cred.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
  TimeStamp expiry;
  if (AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND,
                                nullptr, &cred, nullptr, nullptr, &credentials_,
                                &expiry) != SEC_E_OK) {
    *error = "cannot start TLS";
    return false;
  }
  haveCredentials_ = true;
  const DWORD wantedFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                            ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM;
  std::string name = serverName;
  SECURITY_STATUS status = SEC_I_CONTINUE_NEEDED;
  bool first = true;
  const DWORD deadline = GetTickCount() + DWORD(timeoutMs);
  for (;;) {
    SecBuffer in[2] = {{DWORD(raw_.size()), SECBUFFER_TOKEN, raw_.empty() ? nullptr : &raw_[0]},
                       {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
    SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
    SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
    DWORD attributes = 0;
    status = InitializeSecurityContextA(&credentials_, first ? nullptr : &context_, &name[0],
                                        wantedFlags, 0, 0, first ? nullptr : &inDesc, 0,
                                        &context_, &outDesc, &attributes, nullptr);
    if (first) haveContext_ = status == SEC_I_CONTINUE_NEEDED || status == SEC_E_OK;
    first = false;
    if (out[0].cbBuffer && out[0].pvBuffer) {
      const bool sent = SendRaw(static_cast<char*>(out[0].pvBuffer), out[0].cbBuffer, timeoutMs);
      FreeContextBuffer(out[0].pvBuffer);
      if (!sent) {
        *error = "the connection was lost during the TLS handshake";
        return false;
      }
    }
    if (status == SEC_E_INCOMPLETE_MESSAGE) {
      // More of the server's handshake is needed; raw_ keeps what came.
    } else {
      if (in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer)
        raw_ = raw_.substr(raw_.size() - in[1].cbBuffer);
      else if (status != SEC_I_CONTINUE_NEEDED || !first)
        raw_.clear();
      if (status == SEC_E_OK) break;
      if (status != SEC_I_CONTINUE_NEEDED) {
        *error = "TLS handshake failed (" + std::to_string(unsigned(status)) + ")";
        return false;
      }
    }
    const DWORD now = GetTickCount();
    if (int(deadline - now) <= 0) {
      *error = "the server does not answer the TLS handshake";
      return false;
    }
    if (status == SEC_E_INCOMPLETE_MESSAGE || raw_.empty()) {
      const int r = ReadRaw(int(deadline - now));
      if (r != 1) {
        *error = r == kTimedOut ? "the server does not answer the TLS handshake"
                                : "the connection was lost during the TLS handshake";
        return false;
      }
    }
  }
  if (!Verify(serverName, wanted, error)) return false;
  if (QueryContextAttributesA(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK) {
    *error = "cannot start TLS";
    return false;
  }
  secure_ = true;
  return true;
}

bool WinsockTransport::Verify(const std::string& serverName, const std::string& wanted,
                              std::string* error) {
  PCCERT_CONTEXT cert = nullptr;
  if (QueryContextAttributesA(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &cert) != SEC_E_OK ||
      !cert) {
    *error = "the server showed no certificate";
    return false;
  }
  bool ok = false;
  if (!wanted.empty()) {
    unsigned char digest[32] = {};
    DWORD length = sizeof digest;
    ok = CryptHashCertificate2(BCRYPT_SHA256_ALGORITHM, 0, nullptr, cert->pbCertEncoded,
                               cert->cbCertEncoded, digest, &length) &&
         length == sizeof digest && HexOf(digest, sizeof digest) == wanted;
    if (!ok) *error = "the server's certificate is not the one expected";
  } else {
    CERT_CHAIN_PARA para{};
    para.cbSize = sizeof para;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (CertGetCertificateChain(nullptr, cert, nullptr, cert->hCertStore, &para, 0, nullptr,
                                &chain)) {
      std::wstring wideName(serverName.begin(), serverName.end());
      SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
      ssl.cbSize = sizeof ssl;
      ssl.dwAuthType = AUTHTYPE_SERVER;
      ssl.pwszServerName = &wideName[0];
      CERT_CHAIN_POLICY_PARA policy{};
      policy.cbSize = sizeof policy;
      policy.pvExtraPolicyPara = &ssl;
      CERT_CHAIN_POLICY_STATUS result{};
      result.cbSize = sizeof result;
      ok = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &result) &&
           result.dwError == 0;
      CertFreeCertificateChain(chain);
    }
    if (!ok) *error = "the server's certificate is not trusted";
  }
  CertFreeCertificateContext(cert);
  return ok;
}

bool WinsockTransport::SendTls(const std::string& bytes, int timeoutMs) {
  size_t at = 0;
  std::vector<char> message;
  while (at < bytes.size()) {
    const size_t n = std::min<size_t>(bytes.size() - at, sizes_.cbMaximumMessage);
    message.assign(sizes_.cbHeader + n + sizes_.cbTrailer, 0);
    std::memcpy(message.data() + sizes_.cbHeader, bytes.data() + at, n);
    SecBuffer b[4] = {{sizes_.cbHeader, SECBUFFER_STREAM_HEADER, message.data()},
                      {DWORD(n), SECBUFFER_DATA, message.data() + sizes_.cbHeader},
                      {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER,
                       message.data() + sizes_.cbHeader + n},
                      {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc desc{SECBUFFER_VERSION, 4, b};
    if (EncryptMessage(&context_, 0, &desc, 0) != SEC_E_OK) return false;
    if (!SendRaw(message.data(), b[0].cbBuffer + b[1].cbBuffer + b[2].cbBuffer, timeoutMs))
      return false;
    at += n;
  }
  return true;
}

int WinsockTransport::ReceiveTls(char* buffer, size_t size, int timeoutMs) {
  for (;;) {
    if (!plain_.empty()) {
      const size_t n = std::min(size, plain_.size());
      std::memcpy(buffer, plain_.data(), n);
      plain_.erase(0, n);
      return int(n);
    }
    if (!raw_.empty()) {
      SecBuffer b[4] = {{DWORD(raw_.size()), SECBUFFER_DATA, &raw_[0]},
                        {0, SECBUFFER_EMPTY, nullptr},
                        {0, SECBUFFER_EMPTY, nullptr},
                        {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc desc{SECBUFFER_VERSION, 4, b};
      const SECURITY_STATUS status = DecryptMessage(&context_, &desc, 0, nullptr);
      if (status == SEC_E_OK) {
        std::string extra;
        for (const SecBuffer& x : b) {
          if (x.BufferType == SECBUFFER_DATA && x.cbBuffer)
            plain_.append(static_cast<char*>(x.pvBuffer), x.cbBuffer);
          if (x.BufferType == SECBUFFER_EXTRA && x.cbBuffer)
            extra.assign(raw_.data() + raw_.size() - x.cbBuffer, x.cbBuffer);
        }
        raw_ = extra;
        continue;
      }
      if (status == SEC_I_CONTEXT_EXPIRED) return kClosed;
      if (status != SEC_E_INCOMPLETE_MESSAGE) return kError;
    }
    const int r = ReadRaw(timeoutMs);
    if (r != 1) return r;
  }
}

}  // namespace

std::unique_ptr<Transport> MakeTcpTransport() { return std::make_unique<WinsockTransport>(); }

}  // namespace lobbysvc
