// Natively there is no wave output and no MP3 decoder: the null device plays.
#include "soundkit_device.h"

namespace soundkit {

std::unique_ptr<OutputDevice> NewSystemDevice() { return nullptr; }

bool DecodeMp3(const uint8_t*, size_t, std::vector<uint8_t>*, int*, int*) { return false; }

}  // namespace soundkit
