// Lobbylink.dll: the online session library's exports, for its host.
// Every record posted to the host window is a LobbyEventRecord (see
// lobby_records.h) to be given back with LBL_ReleaseData.
#pragma once

#include <windows.h>

#define LBL_CALL __cdecl

#ifdef __cplusplus
extern "C" {
#endif

void* LBL_CALL LBL_Init(HWND window, UINT message, int kind, const GUID* applicationId,
                        const char* playerName);
// The short player name a DirectPlay lobby handed over (at most 15 bytes and
// a NUL); 0, the DirectPlay error, or -1 for a null buffer.
int LBL_CALL LBL_GetLobbyLoginName(char* buffer);
int LBL_CALL LBL_EnumAddresses(void* handle, HWND window, UINT message, int connectionKind);
int LBL_CALL LBL_Connect(void* handle, HWND window, UINT message, int connectionKind,
                         int noSessionSearch, const char* inetAddress, const char* modemName,
                         const char* phoneNumber);
int LBL_CALL LBL_Login(void* handle, HWND window, UINT message, const GUID* sessionInstance,
                       int host, const char* value1, const char* value2);
int LBL_CALL LBL_Disconnect(void* handle);
int LBL_CALL LBL_GetUserData(void* handle, const char* key, void* buffer, DWORD* size);
int LBL_CALL LBL_PutUserData(void* handle, const char* key, const void* data, DWORD size);
int LBL_CALL LBL_UserSendData(void* handle, const DWORD* recipientList, const void* data,
                              DWORD size);
int LBL_CALL LBL_ChanSendData(void* handle, const void* data, DWORD size);
int LBL_CALL LBL_GetNickFromID(void* handle, DWORD playerId, char* name16);
int LBL_CALL LBL_GetErrorSeverity(void* handle, int code);
int LBL_CALL LBL_GetErrorString(void* handle, int code, char* buffer, int size);
int LBL_CALL LBL_ReleaseData(void* handle, void* record);

#ifdef __cplusplus
}
#endif
