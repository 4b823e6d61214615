// DeviceContext over a GDI device context: each call to the GDI function of
// the same name.
#pragma once

#include <windows.h>

#include "device_context.h"

class GdiContext : public DeviceContext {
 public:
  explicit GdiContext(HDC dc) : dc_(dc) {}
  DcValue Call(DcCall call, std::initializer_list<DcValue> args) override;
  bool CopyClipRegionTo(DeviceContext& other) override;
  void Delete() override;
  HDC Handle() const { return dc_; }

 private:
  HDC dc_;
};
