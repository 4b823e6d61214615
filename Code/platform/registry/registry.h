// Registry: stand-in for the outside registry helper. It keeps the program's
// key, SOFTWARE\<company>\<product>, and reads string values under it from
// HKEY_LOCAL_MACHINE, then HKEY_CURRENT_USER. Nothing here writes the
// registry. Native builds have no registry: every value is its default.
//
// Interface: regInitKeys, regGetString.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Keeps SOFTWARE\<company>\<product> as the key later reads look in. Null
// parts count as empty.
void regInitKeys(const char* company, const char* product);

// The string value `name` of the program's key, from HKLM, else HKCU, else
// `fallback` itself (also before regInitKeys and for a value that is not a
// string). A value read lies in a buffer that the next call overwrites.
const char* regGetString(const char* name, const char* fallback);

#ifdef __cplusplus
}
#endif
