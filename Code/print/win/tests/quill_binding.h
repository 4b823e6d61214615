// Quill.dll bound as the main program binds it: loaded by name, each export
// looked up by name at use.
#pragma once

#include <windows.h>

class QuillBinding {
 public:
  ~QuillBinding() { Unload(); }
  bool Load() {
    if (!module_) module_ = LoadLibraryA("Quill.dll");
    return module_ != nullptr;
  }
  void Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
  template <typename T>
  T Bind(const char* name) const {
    return module_ ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
  }

 private:
  HMODULE module_ = nullptr;
};
