#pragma once
// Size presets by shape number: a digit cell is 270 x 270 twips, the answer cursor 510 x 525;
// any other shape has none and reads as 0.

#include <cstdint>

class Surface;

int32_t PresetWidth(int shape);
int32_t PresetHeight(int shape);
void ApplyPresetSize(int shape, Surface& window);
