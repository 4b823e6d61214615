// The lobby-handed login name.
#include <initguid.h>

#include "dplay_lobby_win32.h"

#include <cstring>
#include <vector>

namespace lobbylink {

int LobbyLoginNameFrom(IDirectPlayLobby3A* lobby, char* buffer) {
  if (!buffer) return -1;
  DWORD size = 0;
  HRESULT hr = lobby->GetConnectionSettings(0, nullptr, &size);
  if (hr != DPERR_BUFFERTOOSMALL) return FAILED(hr) ? int(hr) : int(DPERR_GENERIC);
  // The settings carry pointers into their own block.
  std::vector<unsigned char> block(size + 16, 0);
  hr = lobby->GetConnectionSettings(0, block.data(), &size);
  if (FAILED(hr)) return int(hr);
  const auto* settings = reinterpret_cast<const DPLCONNECTION*>(block.data());
  const char* name = settings->lpPlayerName ? settings->lpPlayerName->lpszShortNameA : nullptr;
  // The name comes from another program: no more than a login name is
  // copied, whatever its length.
  const size_t n = name ? strnlen(name, kLobbyLoginNameSize - 1) : 0;
  if (n) std::memcpy(buffer, name, n);
  buffer[n] = 0;
  return 0;
}

int GetLobbyLoginName(char* buffer) {
  if (!buffer) return -1;
  const HRESULT init = CoInitialize(nullptr);
  IDirectPlayLobby3A* lobby = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_DirectPlayLobby, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IDirectPlayLobby3A, reinterpret_cast<void**>(&lobby));
  int result = int(hr);
  if (SUCCEEDED(hr) && lobby) {
    result = LobbyLoginNameFrom(lobby, buffer);
    lobby->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return result;
}

}  // namespace lobbylink
