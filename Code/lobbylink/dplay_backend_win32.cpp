// DirectPlay back end.
#include "dplay_backend_win32.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "dplay_receiver_win32.h"
#include "lobby_errors.h"

namespace lobbylink {

namespace {

constexpr DWORD kSessionFlags = DPSESSION_KEEPALIVE | DPSESSION_MIGRATEHOST;  // 0x44
constexpr DWORD kMaxPlayers = 16;
constexpr uint32_t kConnectionLobby = 5;

class SystemObjects : public DplayObjects {
 public:
  HRESULT CreateDirectPlay(IDirectPlay4A** play) override {
    return CoCreateInstance(CLSID_DirectPlay, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectPlay4A,
                            reinterpret_cast<void**>(play));
  }
  HRESULT CreateLobby(IDirectPlayLobby3A** lobby) override {
    return CoCreateInstance(CLSID_DirectPlayLobby, nullptr, CLSCTX_INPROC_SERVER,
                            IID_IDirectPlayLobby3A, reinterpret_cast<void**>(lobby));
  }
};

uint32_t ProviderKind(const GUID& provider) {
  if (IsEqualGUID(provider, DPSPGUID_IPX)) return 1;
  if (IsEqualGUID(provider, DPSPGUID_TCPIP)) return 2;
  if (IsEqualGUID(provider, DPSPGUID_MODEM)) return 3;
  return 4;
}

const GUID& ProviderOf(uint32_t kind) {
  switch (kind) {
    case 2: return DPSPGUID_TCPIP;
    case 3: return DPSPGUID_MODEM;
    case 4: return DPSPGUID_SERIAL;
    default: return DPSPGUID_IPX;
  }
}

class DplayBackEnd : public LobbyBackEnd {
 public:
  DplayBackEnd(DplayObjects& objects, std::unique_ptr<LobbyRecordSink> sink,
               const LobbyHandle& handle, std::function<void(const char*)> debug)
      : objects_(objects), sink_(std::move(sink)), debug_(std::move(debug)) {
    std::memcpy(&application_, handle.applicationId, sizeof application_);
  }

  bool Start() {
    comStarted_ = SUCCEEDED(CoInitialize(nullptr));
    if (FAILED(objects_.CreateDirectPlay(&play_)) || !play_) {
      play_ = nullptr;
      return false;
    }
    const HRESULT hr = play_->EnumConnections(&application_, &ConnectionFound, this,
                                              DPCONNECTION_DIRECTPLAY);
    if (FAILED(hr)) {
      Debug("dplayConnect: enum connections failed\n", hr);
      return false;
    }
    return true;
  }

  // This machine's addresses on a provider: a DirectPlay object of its own,
  // bound to the provider, asked for player 0's address.
  int EnumAddresses(LobbyTarget target, uint32_t kind) override {
    sink_->SetTarget(target);
    IDirectPlay4A* probe = nullptr;
    HRESULT hr = objects_.CreateDirectPlay(&probe);
    if (FAILED(hr) || !probe) return int(FAILED(hr) ? hr : DPERR_GENERIC);
    std::vector<unsigned char> provider;
    hr = MakeAddress(kind == 2 || kind == 3 || kind == 4 ? kind : 1, nullptr, nullptr, nullptr,
                     &provider);
    if (SUCCEEDED(hr)) hr = probe->InitializeConnection(provider.data(), 0);
    DWORD size = 0;
    if (SUCCEEDED(hr)) hr = probe->GetPlayerAddress(0, nullptr, &size);
    if (hr == DPERR_BUFFERTOOSMALL && size) {
      std::vector<unsigned char> address(size, 0);
      hr = probe->GetPlayerAddress(0, address.data(), &size);
      if (SUCCEEDED(hr)) PostAddressParts(address.data(), size);
    }
    probe->Release();
    return int(hr);
  }

  int Connect(LobbyTarget target, uint32_t kind, int noSearch, const char* inet,
              const char* modem, const char* phone) override {
    if (!play_) return int(DPERR_UNINITIALIZED);
    sink_->SetTarget(target);
    kind_ = kind;
    if (kind == kConnectionLobby) {
      // Login makes the object the lobby's settings ask for.
      Release();
      return 0;
    }
    if (address_.empty()) {
      HRESULT hr = MakeAddress(kind, inet, modem, phone, &address_);
      if (SUCCEEDED(hr)) hr = play_->InitializeConnection(address_.data(), 0);
      if (FAILED(hr)) {
        address_.clear();
        return int(hr);
      }
      PostAddressParts(address_.data(), DWORD(address_.size()));
    }
    if (noSearch) return 0;
    return Search();
  }

  int Login(LobbyHandle& handle, LobbyTarget target, const uint8_t* session, int host,
            const char* name, const char* password) override {
    sink_->SetTarget(target);
    HRESULT hr;
    if (kind_ == kConnectionLobby) {
      hr = JoinThroughLobby();
    } else if (!play_) {
      return int(DPERR_UNINITIALIZED);
    } else if (host) {
      DPSESSIONDESC2 desc{};
      desc.dwSize = sizeof desc;
      desc.dwFlags = kSessionFlags;
      desc.guidApplication = application_;
      desc.dwMaxPlayers = kMaxPlayers;
      desc.lpszSessionNameA = const_cast<char*>(name);
      desc.lpszPasswordA = const_cast<char*>(password);
      hr = play_->Open(&desc, DPOPEN_CREATE);
      host_ = true;
    } else if (!session) {
      // No session chosen: search again, no player is made.
      return Search();
    } else {
      DPSESSIONDESC2 desc{};
      desc.dwSize = sizeof desc;
      std::memcpy(&desc.guidInstance, session, sizeof desc.guidInstance);
      desc.lpszPasswordA = const_cast<char*>(password);
      hr = play_->Open(&desc, DPOPEN_JOIN);
      host_ = false;
    }
    if (FAILED(hr)) return int(hr);

    receiver_ = std::make_unique<DplayReceiver>(play_, *sink_, debug_);
    if (!receiver_->Start()) {
      receiver_.reset();
      play_->Close();
      return int(DPERR_OUTOFMEMORY);
    }
    DPNAME player{};
    player.dwSize = sizeof player;
    player.lpszShortNameA = handle.name;
    DPID id = 0;
    hr = play_->CreatePlayer(&id, &player, receiver_->ReceiveEvent(), nullptr, 0, 0);
    if (FAILED(hr)) {
      receiver_->Stop();
      receiver_.reset();
      play_->Close();
      return int(hr);
    }
    ownId_ = id;
    receiver_->SetOwnId(id);
    PostLoginRecord(*sink_, id, handle.name);
    if (kind_ == 2) PostOwnAddress();
    return 0;
  }

  int Disconnect() override {
    address_.clear();
    // The thread ends before anything it uses is released.
    if (receiver_) receiver_->Stop();
    if (play_ && ownId_) play_->DestroyPlayer(ownId_);
    Release();
    receiver_.reset();
    delete this;
    return 0;
  }

  ~DplayBackEnd() override {
    if (comStarted_) CoUninitialize();
  }

  int UserSend(const RecipientList& list, const void* data, uint32_t size) override {
    if (!play_) return int(E_FAIL);
    HRESULT hr = DP_OK;
    for (uint32_t i = 0; i < list.count; ++i)
      hr = play_->SendEx(ownId_, list.ids[i], DPSEND_GUARANTEED, const_cast<void*>(data), size,
                         0, 0, nullptr, nullptr);
    return int(hr);
  }

  int ChannelSend(const void* data, uint32_t size) override {
    if (!play_) return int(E_FAIL);
    return int(play_->SendEx(ownId_, DPID_ALLPLAYERS, DPSEND_GUARANTEED,
                             const_cast<void*>(data), size, 0, 0, nullptr, nullptr));
  }

  int GetNick(uint32_t id, char* name16) override {
    if (!play_ || !name16) return int(E_FAIL);
    // DirectPlay answers with a DPNAME and its texts; only the short name,
    // cut to a login name, reaches the caller's 16 bytes.
    DWORD size = 0;
    HRESULT hr = play_->GetPlayerName(id, nullptr, &size);
    if (hr != DPERR_BUFFERTOOSMALL) return int(FAILED(hr) ? hr : DPERR_GENERIC);
    std::vector<unsigned char> buffer(size + 16, 0);
    hr = play_->GetPlayerName(id, buffer.data(), &size);
    if (FAILED(hr)) return int(hr);
    const auto* name = reinterpret_cast<const DPNAME*>(buffer.data());
    const char* text = name->lpszShortNameA;
    const size_t n = text ? strnlen(text, 15) : 0;
    std::memcpy(name16, text ? text : "", n);
    name16[n] = 0;
    return 0;
  }

  int ErrorString(int code, char* buffer, size_t size) override {
    return FormatDirectPlayError(code, buffer, size);
  }

  void Release() {
    if (!play_) return;
    play_->Close();
    play_->Release();
    play_ = nullptr;
  }

 private:
  void Debug(const char* line, HRESULT hr) {
    if (!debug_) return;
    debug_(line);
    char text[64];
    FormatDirectPlayError(int(hr), text, sizeof text);
    debug_((std::string(text) + "\n").c_str());
  }

  HRESULT MakeAddress(uint32_t kind, const char* inet, const char* modem, const char* phone,
                      std::vector<unsigned char>* address) {
    IDirectPlayLobby3A* lobby = nullptr;
    HRESULT hr = objects_.CreateLobby(&lobby);
    if (FAILED(hr) || !lobby) return FAILED(hr) ? hr : DPERR_GENERIC;
    const GUID provider = ProviderOf(kind);
    std::vector<DPCOMPOUNDADDRESSELEMENT> parts;
    parts.push_back({DPAID_ServiceProvider, sizeof provider, const_cast<GUID*>(&provider)});
    if (kind == 2 && inet) parts.push_back({DPAID_INet, DWORD(std::strlen(inet) + 1), const_cast<char*>(inet)});
    if (kind == 3 && modem) parts.push_back({DPAID_Modem, DWORD(std::strlen(modem) + 1), const_cast<char*>(modem)});
    if (kind == 3 && phone) parts.push_back({DPAID_Phone, DWORD(std::strlen(phone) + 1), const_cast<char*>(phone)});
    DWORD size = 0;
    hr = lobby->CreateCompoundAddress(parts.data(), DWORD(parts.size()), nullptr, &size);
    if (hr == DPERR_BUFFERTOOSMALL && size) {
      address->assign(size, 0);
      hr = lobby->CreateCompoundAddress(parts.data(), DWORD(parts.size()), address->data(), &size);
    } else if (SUCCEEDED(hr)) {
      hr = DPERR_GENERIC;
    }
    lobby->Release();
    return hr;
  }

  void PostAddressParts(const void* address, DWORD size) {
    IDirectPlayLobby3A* lobby = nullptr;
    if (FAILED(objects_.CreateLobby(&lobby)) || !lobby) return;
    lobby->EnumAddress(&AddressPart, address, size, this);
    lobby->Release();
  }

  void PostOwnAddress() {
    DWORD size = 0;
    if (play_->GetPlayerAddress(ownId_, nullptr, &size) != DPERR_BUFFERTOOSMALL || !size) return;
    std::vector<unsigned char> address(size, 0);
    if (SUCCEEDED(play_->GetPlayerAddress(ownId_, address.data(), &size)))
      PostAddressParts(address.data(), size);
  }

  int Search() {
    DPSESSIONDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.guidApplication = application_;
    const HRESULT hr = play_->EnumSessions(&desc, 0, &SessionFound, this,
                                           DPENUMSESSIONS_AVAILABLE | DPENUMSESSIONS_ASYNC);
    if (FAILED(hr)) {
      Debug("dplayConnect: enum session failed\n", hr);
      address_.clear();
    }
    return int(hr);
  }

  HRESULT JoinThroughLobby() {
    IDirectPlayLobby3A* lobby = nullptr;
    HRESULT hr = objects_.CreateLobby(&lobby);
    if (FAILED(hr) || !lobby) return FAILED(hr) ? hr : DPERR_GENERIC;
    DWORD size = 0;
    hr = lobby->GetConnectionSettings(0, nullptr, &size);
    if (hr == DPERR_BUFFERTOOSMALL && size >= sizeof(DPLCONNECTION)) {
      std::vector<unsigned char> block(size, 0);
      hr = lobby->GetConnectionSettings(0, block.data(), &size);
      auto* settings = reinterpret_cast<DPLCONNECTION*>(block.data());
      if (SUCCEEDED(hr) && settings->lpSessionDesc) {
        settings->lpSessionDesc->dwFlags = kSessionFlags;
        settings->lpSessionDesc->dwMaxPlayers = kMaxPlayers;
        hr = lobby->SetConnectionSettings(0, 0, settings);
      } else if (SUCCEEDED(hr)) {
        hr = DPERR_INVALIDPARAMS;
      }
      IDirectPlay4A* play = nullptr;
      if (SUCCEEDED(hr))
        hr = lobby->ConnectEx(0, IID_IDirectPlay4A, reinterpret_cast<void**>(&play), nullptr);
      if (SUCCEEDED(hr) && play) {
        Release();
        play_ = play;
        host_ = (settings->dwFlags & DPLCONNECTION_CREATESESSION) != 0;
      }
    } else if (SUCCEEDED(hr)) {
      hr = DPERR_GENERIC;
    }
    lobby->Release();
    return hr;
  }

  static BOOL FAR PASCAL ConnectionFound(LPCGUID provider, LPVOID connection, DWORD size,
                                         LPCDPNAME name, DWORD, LPVOID context) {
    auto* self = static_cast<DplayBackEnd*>(context);
    const char* text = name ? name->lpszShortNameA : nullptr;
    PostConnectionRecord(*self->sink_, self->ownId_, provider ? ProviderKind(*provider) : 4,
                         text ? text : "", connection, connection ? size : 0);
    return TRUE;
  }

  static BOOL FAR PASCAL SessionFound(LPCDPSESSIONDESC2 session, LPDWORD, DWORD flags,
                                      LPVOID context) {
    if (flags & DPESC_TIMEDOUT) return FALSE;
    auto* self = static_cast<DplayBackEnd*>(context);
    if (!session) return TRUE;
    PostSessionRecord(*self->sink_, self->ownId_,
                      reinterpret_cast<const uint8_t*>(&session->guidInstance),
                      session->lpszSessionNameA ? session->lpszSessionNameA : "", self->kind_);
    return TRUE;
  }

  static BOOL FAR PASCAL AddressPart(REFGUID type, DWORD size, LPCVOID data, LPVOID context) {
    auto* self = static_cast<DplayBackEnd*>(context);
    if (IsEqualGUID(type, DPAID_INet))
      PostAddressRecord(*self->sink_, self->ownId_, 2, data, size);
    else if (IsEqualGUID(type, DPAID_Modem))
      PostAddressRecord(*self->sink_, self->ownId_, 3, data, size);
    return TRUE;
  }

  DplayObjects& objects_;
  std::unique_ptr<LobbyRecordSink> sink_;
  std::function<void(const char*)> debug_;
  GUID application_{};
  IDirectPlay4A* play_ = nullptr;
  std::unique_ptr<DplayReceiver> receiver_;
  std::vector<unsigned char> address_;
  uint32_t kind_ = 0;
  DPID ownId_ = 0;
  bool host_ = false;
  bool comStarted_ = false;
};

}  // namespace

DplayObjects& SystemDplayObjects() {
  static SystemObjects objects;
  return objects;
}

LobbyBackEnd* StartDplayBackEnd(DplayObjects& objects, std::unique_ptr<LobbyRecordSink> sink,
                                LobbyTarget target, const LobbyHandle& handle,
                                std::function<void(const char*)> debug) {
  if (!sink) return nullptr;
  sink->SetTarget(target);
  auto* backEnd = new DplayBackEnd(objects, std::move(sink), handle, std::move(debug));
  if (!backEnd->Start()) {
    backEnd->Release();
    delete backEnd;
    return nullptr;
  }
  return backEnd;
}

}  // namespace lobbylink
