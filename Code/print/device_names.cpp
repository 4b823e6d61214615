// Device-names block and the [windows] device entry.

#include "device_names.h"

#include <algorithm>

namespace {

void PutWord(std::vector<uint8_t>& block, size_t at, size_t value) {
  block[at] = static_cast<uint8_t>(value & 0xFF);
  block[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

std::vector<uint8_t> BuildDeviceNames(const std::string& device, const std::string& driver,
                                      const std::string& port) {
  const size_t driverAt = 8;
  const size_t deviceAt = driverAt + driver.size() + 1;
  const size_t outputAt = deviceAt + device.size() + 1;
  std::vector<uint8_t> block(outputAt + port.size() + 1, 0);
  PutWord(block, 0, driverAt);
  PutWord(block, 2, deviceAt);
  PutWord(block, 4, outputAt);
  PutWord(block, 6, 0);
  std::copy(driver.begin(), driver.end(), block.begin() + driverAt);
  std::copy(device.begin(), device.end(), block.begin() + deviceAt);
  std::copy(port.begin(), port.end(), block.begin() + outputAt);
  return block;
}

std::string DeviceEntryPrinterName(const std::string& entry) { return entry.substr(0, entry.find(',')); }
