// The skinned dialog loader over the system's indirect dialog calls.
#include <vector>

#include "dialog_template.h"
#include "shell_services.h"
#include "skinned_dialog.h"

namespace {

// The rewritten template, or an empty block (after telling the user) when
// the resource is missing or its rewrite does not fit.
std::vector<uint8_t> LoadSkinnedTemplate(HINSTANCE module, const char* templateId) {
  std::vector<uint8_t> block;
  HRSRC found = FindResourceA(module, templateId, MAKEINTRESOURCEA(5));
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* source = loaded ? LockResource(loaded) : nullptr;
  if (source) {
    block.assign(kSkinnedTemplateCapacity, 0);
    const size_t size = RewriteDialogTemplate(block.data(), block.size(), static_cast<const uint8_t*>(source),
                                              SizeofResource(module, found));
    if (size == 0) block.clear();
  }
  if (block.empty()) Services().appMessageBox("Error!\r\nCannot load resource!", MB_OK);
  return block;
}

}  // namespace

INT_PTR SkinnedDialogBox(HINSTANCE module, const char* templateId, HWND owner, DLGPROC procedure,
                         LPARAM param) {
  const std::vector<uint8_t> block = LoadSkinnedTemplate(module, templateId);
  if (block.empty()) return -1;
  return DialogBoxIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(block.data()), owner, procedure,
                                 param);
}

HWND CreateSkinnedDialog(HINSTANCE module, const char* templateId, HWND owner, DLGPROC procedure,
                         LPARAM param) {
  const std::vector<uint8_t> block = LoadSkinnedTemplate(module, templateId);
  if (block.empty()) return nullptr;
  return CreateDialogIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(block.data()), owner, procedure,
                                    param);
}
