// The login helper's settings for the service DLL, under HKCU
// rwlive::kSettingsKey: written by RWLiveLogin.exe, read by RWLiveNet.dll.
// The password is kept only as a CryptProtectData blob of the user.
#pragma once

namespace rwlive {

constexpr const char kServerValue[] = "Server";         // REG_SZ host name or address
constexpr const char kPortValue[] = "Port";             // REG_DWORD
constexpr const char kDomainValue[] = "Domain";         // REG_SZ XMPP domain
constexpr const char kRoomsValue[] = "Rooms";           // REG_SZ room service (optional)
constexpr const char kLoginValue[] = "Login";           // REG_SZ login name
constexpr const char kPasswordValue[] = "Password";     // REG_BINARY, protected
constexpr const char kFingerprintValue[] = "Fingerprint";  // REG_SZ SHA-256 (optional)
constexpr const char kProgramName[] = "Rookwell.exe";   // started after a login

}  // namespace rwlive
