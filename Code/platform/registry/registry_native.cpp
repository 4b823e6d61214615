// No registry natively: every value is its default.
#include "registry.h"

const char* regGetString(const char*, const char* fallback) { return fallback; }
