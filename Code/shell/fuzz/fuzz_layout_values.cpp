// Layout and wallpaper values come from text files a user may edit: any
// text must scan without fault.
#include <cstdint>
#include <string>

#include "layout_file.h"
#include "settings_scan.h"
#include "wallpaper_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  LayoutEntry entry{};
  int read = ScanLayoutValue(text.c_str(), &entry);
  if (read < 0 || read > 5) __builtin_trap();
  uint32_t colours[2] = {};
  int colourCount = ScanGradient(text.c_str(), colours);
  if (colourCount < 0 || colourCount > 2) __builtin_trap();
  if (WallpaperKindFromText(text.c_str()) > 1) __builtin_trap();
  // Any row of any count, as scanned numbers give them.
  if (GradientColourAt(colours[0], colours[1], entry.shown, entry.rect.left) > 0xFFFFFF) __builtin_trap();
  if (GradientColourAt(colours[0], colours[1], entry.rect.top, entry.rect.right) > 0xFFFFFF) __builtin_trap();
  return 0;
}
