// Natively the program has no module path of its own: tests give one.
#include <string>

std::string PlatformModulePath() { return std::string(); }
