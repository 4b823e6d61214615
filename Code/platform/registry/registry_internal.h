// Shared by the registry stand-in's files: the kept key path, empty before
// regInitKeys.
#pragma once

#include <string>

const std::string& RegistryKeyPath();
