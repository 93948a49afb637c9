#include "rgn/size_presets.h"

#include <iterator>

#include "platform/surface.h"

namespace {
struct Preset {
  int32_t width;
  int32_t height;
};
// Indexed by shape number; the sizes of the two face pictures.
constexpr Preset kPresets[] = {{270, 270}, {510, 525}};

const Preset* PresetOf(int shape) {
  return shape >= 0 && shape < static_cast<int>(std::size(kPresets)) ? &kPresets[shape] : nullptr;
}
}  // namespace

int32_t PresetWidth(int shape) {
  const Preset* preset = PresetOf(shape);
  return preset ? preset->width : 0;
}

int32_t PresetHeight(int shape) {
  const Preset* preset = PresetOf(shape);
  return preset ? preset->height : 0;
}

void ApplyPresetSize(int shape, Surface& window) {
  const Preset* preset = PresetOf(shape);
  if (!preset) return;
  window.SetHeight(static_cast<float>(preset->height));
  window.SetWidth(static_cast<float>(preset->width));
}
