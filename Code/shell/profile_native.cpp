// Native builds have no system profile calls: the ini file reader serves.
#include "profile.h"

Profile& PlatformProfile() { return IniFileProfile(); }
