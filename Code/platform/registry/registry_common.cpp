// The program's key, kept between regInitKeys and the reads.
#include <string>

#include "registry.h"
#include "registry_internal.h"

namespace {
std::string g_key;
}

void regInitKeys(const char* company, const char* product) {
  g_key = std::string("SOFTWARE\\") + (company ? company : "") + "\\" + (product ? product : "");
}

const std::string& RegistryKeyPath() { return g_key; }
