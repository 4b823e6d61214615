// Lobby-service back end: each export is a short, fixed sequence of calls
// into the service's DLL.
#include "rwlive_backend.h"

#include <cstring>

namespace lobbylink {

using namespace rwlive;

bool RWLiveLibrary::Acquire() {
  if (references_ > 0) {
    ++references_;
    return true;
  }
  const std::string root = loader_.RootDirectory();
  path_ = root.empty() ? std::string(kDllName) : root + kDllBelowRoot;
  void* library = loader_.Load(path_);
  if (!library) return false;
  // Every entry point must be there, called or not: a DLL that lacks one is
  // not the one this program was built against.
  for (const char* name : kEntryPoints) {
    if (!loader_.Bind(library, name)) {
      loader_.Free(library);
      return false;
    }
  }
  void* bound[kCallCount];
  for (size_t i = 0; i < kCallCount; ++i) bound[i] = loader_.Bind(library, kCallNames[i]);
  rwlive::Calls c;
  c.init = reinterpret_cast<InitFn>(bound[0]);
  c.destroy = reinterpret_cast<DestroyFn>(bound[1]);
  c.loadGameDef = reinterpret_cast<LoadGameDefFn>(bound[2]);
  c.joinGame = reinterpret_cast<JoinGameFn>(bound[3]);
  c.getAddr = reinterpret_cast<GetAddrFn>(bound[4]);
  c.enableNotification = reinterpret_cast<EnableNotificationFn>(bound[5]);
  c.disableNotification = reinterpret_cast<DisableNotificationFn>(bound[6]);
  c.createChannel = reinterpret_cast<CreateChannelFn>(bound[7]);
  c.openChannel = reinterpret_cast<OpenChannelFn>(bound[8]);
  c.closeChannel = reinterpret_cast<CloseChannelFn>(bound[9]);
  c.leaveGame = reinterpret_cast<LeaveGameFn>(bound[10]);
  c.restoreData = reinterpret_cast<RestoreDataFn>(bound[11]);
  c.saveData = reinterpret_cast<SaveDataFn>(bound[12]);
  c.writeChannel = reinterpret_cast<WriteChannelFn>(bound[13]);
  c.getNameByAddr = reinterpret_cast<GetNameByAddrFn>(bound[14]);
  c.getErrorText = reinterpret_cast<GetErrorTextFn>(bound[15]);
  calls_ = c;
  library_ = library;
  references_ = 1;
  calls_.init();
  return true;
}

void RWLiveLibrary::Release() {
  if (references_ == 0 || --references_ > 0) return;
  calls_.destroy();
  loader_.Free(library_);
  library_ = nullptr;
  calls_ = {};
}

namespace {

constexpr int kTries = 3;

int Result(uint16_t r) { return static_cast<int16_t>(r); }

class RWLiveBackEnd : public LobbyBackEnd {
 public:
  RWLiveBackEnd(RWLiveLibrary& library, std::unique_ptr<LobbyRecordSink> sink)
      : library_(library), calls_(library.Calls()), sink_(std::move(sink)) {}

  int Login(LobbyHandle& handle, LobbyTarget target, const uint8_t*, int, const char* channel,
            const char*) override {
    if (!channel) return -1;
    sink_->SetTarget(target);
    uint16_t r = calls_.loadGameDef(gameDef_, kGameDefSize);
    if (Failed(r)) return Result(r);
    // The login name as the service gave it replaces the one the caller passed.
    char name[kLoginNameSize] = {};
    std::memcpy(name, gameDef_ + kLoginNameOffset, strnlen(reinterpret_cast<const char*>(gameDef_ + kLoginNameOffset), kLoginNameSize - 1));
    std::memcpy(handle.name, name, sizeof handle.name);
    r = calls_.joinGame(Game(), name);
    if (Failed(r)) return Result(r);
    ownAddress_ = calls_.getAddr(Game());
    if (ownAddress_ == 0) return -1;
    r = calls_.enableNotification(Game(), &JoinLeave, this);
    if (r != 0) return Result(r);
    r = calls_.createChannel(Game(), 0x7fffffff, channel, 1);
    if (r != 0) return Result(r);
    r = calls_.openChannel(Game(), 0, channel, this, 0, &Data);
    if (Failed(r)) return Result(r);
    channel_ = r;
    PostLoginRecord(*sink_, ownAddress_, name);
    return 0;
  }

  int Disconnect() override {
    calls_.closeChannel(channel_);
    calls_.disableNotification(Game(), &JoinLeave, nullptr);
    calls_.leaveGame(Game());
    library_.Release();
    delete this;
    return 0;
  }

  int GetUserData(const char* key, void* buffer, uint32_t* size) override {
    if (!key || !buffer || !size) return -1;
    uint32_t read = 0;
    const uint16_t r = Retry([&] { return calls_.restoreData(Game(), key, buffer, *size, &read); });
    if (!Failed(r)) *size = read;
    return Result(r);
  }

  int PutUserData(const char* key, const void* data, uint32_t size) override {
    if (!key) return -1;
    return Result(Retry([&] { return calls_.saveData(Game(), key, data, size); }));
  }

  int UserSend(const RecipientList& list, const void* data, uint32_t size) override {
    if (!data || size == 0) return -1;
    const uint32_t* ids = &list.count;
    return Result(Retry([&] { return calls_.writeChannel(Game(), data, size, ids); }));
  }

  int ChannelSend(const void* data, uint32_t size) override {
    if (!data || size == 0) return -1;
    return Result(Retry([&] { return calls_.writeChannel(Game(), data, size, nullptr); }));
  }

  int GetNick(uint32_t id, char* name16) override {
    std::strcpy(name16, "unknown");
    calls_.getNameByAddr(Game(), id, name16, 16);
    name16[15] = 0;
    return 0;
  }

  int ErrorString(int code, char* buffer, size_t size) override {
    if (!buffer || size == 0) return code;
    return calls_.getErrorText(code, buffer, static_cast<uint32_t>(size));
  }

 private:
  uint16_t Game() const { return uint16_t(gameDef_[0] | gameDef_[1] << 8); }

  template <typename Call>
  static uint16_t Retry(Call call) {
    uint16_t r = call();
    for (int i = 1; i < kTries && Failed(r); ++i) r = call();
    return r;
  }

  static void RWLIVE_CALL Data(void* context, uint32_t sender, const void* data, uint32_t size) {
    auto* self = static_cast<RWLiveBackEnd*>(context);
    PostDataRecord(*self->sink_, self->ownAddress_, sender, data, size);
  }

  static void RWLIVE_CALL JoinLeave(void* context, uint32_t address, uint32_t flag) {
    auto* self = static_cast<RWLiveBackEnd*>(context);
    if (flag == 0) PostPlayerLeftRecord(*self->sink_, self->ownAddress_, address);
  }

  RWLiveLibrary& library_;
  const rwlive::Calls calls_;
  std::unique_ptr<LobbyRecordSink> sink_;
  uint8_t gameDef_[kGameDefSize] = {};
  uint32_t ownAddress_ = 0;
  uint16_t channel_ = 0;
};

}  // namespace

LobbyBackEnd* StartRWLiveBackEnd(RWLiveLibrary& library, std::unique_ptr<LobbyRecordSink> sink,
                                 LobbyTarget target) {
  if (target.window == 0 || target.message == 0 || !sink) return nullptr;
  if (!library.Acquire()) return nullptr;
  sink->SetTarget(target);
  return new RWLiveBackEnd(library, std::move(sink));
}

}  // namespace lobbylink
