// DirectPlay result names, by the values of the DirectPlay headers.
#include "lobby_errors.h"

#include <cstdio>
#include <cstring>

namespace lobbylink {

namespace {

constexpr uint32_t Dp(uint32_t code) { return 0x88770000u | code; }

struct NamedCode {
  uint32_t code;
  const char* name;
};

constexpr NamedCode kNames[] = {
    {0x00000000u, "DP_OK"},
    {Dp(5), "DPERR_ALREADYINITIALIZED"},
    {Dp(10), "DPERR_ACCESSDENIED"},
    {Dp(20), "DPERR_ACTIVEPLAYERS"},
    {Dp(30), "DPERR_BUFFERTOOSMALL"},
    {Dp(40), "DPERR_CANTADDPLAYER"},
    {Dp(50), "DPERR_CANTCREATEGROUP"},
    {Dp(60), "DPERR_CANTCREATEPLAYER"},
    {Dp(70), "DPERR_CANTCREATESESSION"},
    {Dp(80), "DPERR_CAPSNOTAVAILABLEYET"},
    {Dp(90), "DPERR_EXCEPTION"},
    {0x80004005u, "DPERR_GENERIC"},  // E_FAIL
    {Dp(120), "DPERR_INVALIDFLAGS"},
    {Dp(130), "DPERR_INVALIDOBJECT"},
    {0x80070057u, "DPERR_INVALIDPARAMS"},  // E_INVALIDARG
    {Dp(150), "DPERR_INVALIDPLAYER"},
    {Dp(155), "DPERR_INVALIDGROUP"},
    {Dp(160), "DPERR_NOCAPS"},
    {Dp(170), "DPERR_NOCONNECTION"},
    {0x8007000Eu, "DPERR_OUTOFMEMORY"},  // E_OUTOFMEMORY
    {Dp(190), "DPERR_NOMESSAGES"},
    {Dp(200), "DPERR_NONAMESERVERFOUND"},
    {Dp(210), "DPERR_NOPLAYERS"},
    {Dp(220), "DPERR_NOSESSIONS"},
    {0x8000000Au, "DPERR_PENDING"},  // E_PENDING
    {Dp(230), "DPERR_SENDTOOBIG"},
    {Dp(240), "DPERR_TIMEOUT"},
    {Dp(250), "DPERR_UNAVAILABLE"},
    {0x80004001u, "DPERR_UNSUPPORTED"},  // E_NOTIMPL
    {Dp(270), "DPERR_BUSY"},
    {Dp(280), "DPERR_USERCANCEL"},
    {0x80004002u, "DPERR_NOINTERFACE"},  // E_NOINTERFACE
    {Dp(290), "DPERR_CANNOTCREATESERVER"},
    {Dp(300), "DPERR_PLAYERLOST"},
    {Dp(310), "DPERR_SESSIONLOST"},
    {Dp(320), "DPERR_UNINITIALIZED"},
    {Dp(330), "DPERR_NONEWPLAYERS"},
    {Dp(340), "DPERR_INVALIDPASSWORD"},
    {Dp(350), "DPERR_CONNECTING"},
    {Dp(360), "DPERR_CONNECTIONLOST"},
    {Dp(370), "DPERR_UNKNOWNMESSAGE"},
    {Dp(380), "DPERR_CANCELFAILED"},
    {Dp(390), "DPERR_INVALIDPRIORITY"},
    {Dp(400), "DPERR_NOTHANDLED"},
    {Dp(410), "DPERR_CANCELLED"},
    {Dp(420), "DPERR_ABORTED"},
    {Dp(1000), "DPERR_BUFFERTOOLARGE"},
    {Dp(1010), "DPERR_CANTCREATEPROCESS"},
    {Dp(1020), "DPERR_APPNOTSTARTED"},
    {Dp(1030), "DPERR_INVALIDINTERFACE"},
    {Dp(1040), "DPERR_NOSERVICEPROVIDER"},
    {Dp(1050), "DPERR_UNKNOWNAPPLICATION"},
    {Dp(1070), "DPERR_NOTLOBBIED"},
    {Dp(1080), "DPERR_SERVICEPROVIDERLOADED"},
    {Dp(1090), "DPERR_ALREADYREGISTERED"},
    {Dp(1100), "DPERR_NOTREGISTERED"},
    {Dp(2000), "DPERR_AUTHENTICATIONFAILED"},
    {Dp(2010), "DPERR_CANTLOADSSPI"},
    {Dp(2020), "DPERR_ENCRYPTIONFAILED"},
    {Dp(2030), "DPERR_SIGNFAILED"},
    {Dp(2040), "DPERR_CANTLOADSECURITYPACKAGE"},
    {Dp(2050), "DPERR_ENCRYPTIONNOTSUPPORTED"},
    {Dp(2060), "DPERR_CANTLOADCAPI"},
    {Dp(2070), "DPERR_NOTLOGGEDIN"},
    {Dp(2080), "DPERR_LOGONDENIED"},
};

}  // namespace

const char* DirectPlayErrorName(uint32_t code) {
  for (const NamedCode& n : kNames)
    if (n.code == code) return n.name;
  return nullptr;
}

int32_t FormatDirectPlayError(int32_t code, char* buffer, size_t size) {
  char text[256];
  const char* name = DirectPlayErrorName(static_cast<uint32_t>(code));
  if (name)
    std::snprintf(text, sizeof text, "%s", name);
  else
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(code));
  const size_t length = std::strlen(text);
  if (buffer && length < size) std::memcpy(buffer, text, length + 1);
  return code;
}

}  // namespace lobbylink
