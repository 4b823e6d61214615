// The printer names a print job is made from: the block of driver, device
// and output names that a printer device context is created from, and the
// printer named by the system's [windows] "device" entry.
//
// Interface: BuildDeviceNames, DeviceEntryPrinterName.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Four 16-bit words (driver, device and output offsets in bytes, a zero
// default flag) and the three zero-terminated names in that order.
std::vector<uint8_t> BuildDeviceNames(const std::string& device, const std::string& driver,
                                      const std::string& port);

// The printer's name: the entry's text before its first ",".
std::string DeviceEntryPrinterName(const std::string& entry);
