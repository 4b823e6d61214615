// A do-nothing IDirectPlay4A for tests: every method fails with E_NOTIMPL
// until a test's fake overrides it.
#pragma once

#include <windows.h>
#include <dplay.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"

class FakeDirectPlayBase : public IDirectPlay4 {
 public:
  virtual ~FakeDirectPlayBase() = default;
  STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
  STDMETHOD_(ULONG, AddRef)() override { return ++references; }
  STDMETHOD_(ULONG, Release)() override { return --references; }
  ULONG references = 1;
    STDMETHOD(AddPlayerToGroup)(DPID idGroup, DPID idPlayer) override { return E_NOTIMPL; }
    STDMETHOD(Close)() override { return E_NOTIMPL; }
    STDMETHOD(CreateGroup)(LPDPID lpidGroup, LPDPNAME lpGroupName, LPVOID lpData, DWORD dwDataSize, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(CreatePlayer)(LPDPID lpidPlayer, LPDPNAME lpPlayerName, HANDLE hEvent, LPVOID lpData, DWORD dwDataSize, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(DeletePlayerFromGroup)(DPID idGroup, DPID idPlayer) override { return E_NOTIMPL; }
    STDMETHOD(DestroyGroup)(DPID idGroup) override { return E_NOTIMPL; }
    STDMETHOD(DestroyPlayer)(DPID idPlayer) override { return E_NOTIMPL; }
    STDMETHOD(EnumGroupPlayers)(DPID idGroup, LPGUID lpguidInstance, LPDPENUMPLAYERSCALLBACK2 lpEnumPlayersCallback2, LPVOID lpContext, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(EnumGroups)(LPGUID lpguidInstance, LPDPENUMPLAYERSCALLBACK2 lpEnumPlayersCallback2, LPVOID lpContext, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(EnumPlayers)(LPGUID lpguidInstance, LPDPENUMPLAYERSCALLBACK2 lpEnumPlayersCallback2, LPVOID lpContext, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(EnumSessions)(LPDPSESSIONDESC2 lpsd, DWORD dwTimeout, LPDPENUMSESSIONSCALLBACK2 lpEnumSessionsCallback2, LPVOID lpContext, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(GetCaps)(LPDPCAPS lpDPCaps, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(GetGroupData)(DPID idGroup, LPVOID lpData, LPDWORD lpdwDataSize, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(GetGroupName)(DPID idGroup, LPVOID lpData, LPDWORD lpdwDataSize) override { return E_NOTIMPL; }
    STDMETHOD(GetMessageCount)(DPID idPlayer, LPDWORD lpdwCount) override { return E_NOTIMPL; }
    STDMETHOD(GetPlayerAddress)(DPID idPlayer, LPVOID lpData, LPDWORD lpdwDataSize) override { return E_NOTIMPL; }
    STDMETHOD(GetPlayerCaps)(DPID idPlayer, LPDPCAPS lpPlayerCaps, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(GetPlayerData)(DPID idPlayer, LPVOID lpData, LPDWORD lpdwDataSize, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(GetPlayerName)(DPID idPlayer, LPVOID lpData, LPDWORD lpdwDataSize) override { return E_NOTIMPL; }
    STDMETHOD(GetSessionDesc)(LPVOID lpData, LPDWORD lpdwDataSize) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(LPGUID lpGUID) override { return E_NOTIMPL; }
    STDMETHOD(Open)(LPDPSESSIONDESC2 lpsd, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(Receive)(LPDPID lpidFrom, LPDPID lpidTo, DWORD dwFlags, LPVOID lpData, LPDWORD lpdwDataSize) override { return E_NOTIMPL; }
    STDMETHOD(Send)(DPID idFrom, DPID idTo, DWORD dwFlags, LPVOID lpData, DWORD dwDataSize) override { return E_NOTIMPL; }
    STDMETHOD(SetGroupData)(DPID idGroup, LPVOID lpData, DWORD dwDataSize, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(SetGroupName)(DPID idGroup, LPDPNAME lpGroupName, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(SetPlayerData)(DPID idPlayer, LPVOID lpData, DWORD dwDataSize, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(SetPlayerName)(DPID idPlayer, LPDPNAME lpPlayerName, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(SetSessionDesc)(LPDPSESSIONDESC2 lpSessDesc, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(AddGroupToGroup)(DPID idParentGroup, DPID idGroup) override { return E_NOTIMPL; }
    STDMETHOD(CreateGroupInGroup)(DPID idParentGroup, LPDPID lpidGroup, LPDPNAME lpGroupName, LPVOID lpData, DWORD dwDataSize, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(DeleteGroupFromGroup)(DPID idParentGroup, DPID idGroup) override { return E_NOTIMPL; }
    STDMETHOD(EnumConnections)(LPCGUID lpguidApplication, LPDPENUMCONNECTIONSCALLBACK lpEnumCallback, LPVOID lpContext, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(EnumGroupsInGroup)(DPID idGroup, LPGUID lpguidInstance, LPDPENUMPLAYERSCALLBACK2 lpEnumCallback, LPVOID lpContext, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(GetGroupConnectionSettings)(DWORD dwFlags, DPID idGroup, LPVOID lpData, LPDWORD lpdwDataSize) override { return E_NOTIMPL; }
    STDMETHOD(InitializeConnection)(LPVOID lpConnection, DWORD dwFlags) override { return E_NOTIMPL; }
    STDMETHOD(SecureOpen)(LPCDPSESSIONDESC2 lpsd, DWORD dwFlags, LPCDPSECURITYDESC lpSecurity, LPCDPCREDENTIALS lpCredentials) override { return E_NOTIMPL; }
    STDMETHOD(SendChatMessage)(DPID idFrom, DPID idTo, DWORD dwFlags, LPDPCHAT lpChatMessage) override { return E_NOTIMPL; }
    STDMETHOD(SetGroupConnectionSettings)(DWORD dwFlags, DPID idGroup, LPDPLCONNECTION lpConnection) override { return E_NOTIMPL; }
    STDMETHOD(StartSession)(DWORD dwFlags, DPID idGroup) override { return E_NOTIMPL; }
    STDMETHOD(GetGroupFlags)(DPID idGroup, LPDWORD lpdwFlags) override { return E_NOTIMPL; }
    STDMETHOD(GetGroupParent)(DPID idGroup, LPDPID lpidParent) override { return E_NOTIMPL; }
    STDMETHOD(GetPlayerAccount)(DPID idPlayer, DWORD dwFlags, LPVOID lpData, LPDWORD lpdwDataSize) override { return E_NOTIMPL; }
    STDMETHOD(GetPlayerFlags)(DPID idPlayer, LPDWORD lpdwFlags) override { return E_NOTIMPL; }
    STDMETHOD(GetGroupOwner)(DPID , LPDPID  ) override { return E_NOTIMPL; }
    STDMETHOD(SetGroupOwner)(DPID , DPID  ) override { return E_NOTIMPL; }
    STDMETHOD(SendEx)(DPID , DPID , DWORD , LPVOID , DWORD , DWORD , DWORD , LPVOID , LPDWORD  ) override { return E_NOTIMPL; }
    STDMETHOD(GetMessageQueue)(DPID , DPID , DWORD , LPDWORD , LPDWORD  ) override { return E_NOTIMPL; }
    STDMETHOD(CancelMessage)(DWORD , DWORD  ) override { return E_NOTIMPL; }
    STDMETHOD(CancelPriority)(DWORD , DWORD , DWORD  ) override { return E_NOTIMPL; }
};

#pragma GCC diagnostic pop
