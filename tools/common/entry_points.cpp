#include "tools/common/entry_points.h"

const char* FindEntryPoints(const DynamicLibrary& library, PluginEntryPoints& out) {
  const char* missing = nullptr;
  ForEachEntryPoint(out, [&](const char* plain, const char*, auto& slot) {
    slot = library.Find<std::remove_reference_t<decltype(slot)>>(plain);
    if (slot == nullptr && missing == nullptr) {
      missing = plain;
    }
  });
  return missing;
}
