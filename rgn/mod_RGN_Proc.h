#pragma once
// The shaped-window library's public operations, as the application calls them.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/surface.h"
#include "rgn/shapes.h"

class Form;

// Pumps pending window events once, then blocks for ms milliseconds without handling any.
void WaitMilliseconds(int32_t ms);
// Closes every loaded form whose name differs from name (exact, case-sensitive).
void UnloadAllFormsExcept(std::string_view name);
// The y of the bottom of the usable screen area, in twips.
int32_t WorkAreaHeight();
// Milliseconds since the system started, as a signed 32-bit count that wraps.
int32_t TickCount();

// Size presets by shape number: 0 is a digit cell (270 x 270 twips), 1 the answer cursor
// (510 x 525); any other shape has none and reads as 0.
int32_t PresetWidth(int shape);
int32_t PresetHeight(int shape);
void ApplyPresetSize(int shape, Surface& window);

// Size preset 1 shapes the whole window at its origin, clears it and, withPicture, paints the
// face; used for the answer cursor.
void DecorateWindowPreset(int shape, Surface& window, bool withPicture);

// Composite windows: a work-area-sized window whose outline is the union of many shapes.
// Begin once, add each shape (twips from the window's corner), then apply. The paint mode says
// what each shape adds to the window's image; any other mode adds only its outline.
inline constexpr int kPaintPictures = 1;  // its face picture
inline constexpr int kPaintSolid = 2;     // a fill of one colour
void BeginCompositeWindow(Form& window, int paintMode);
void AddCompositeShape(int shapeNo, Form& window, float x, float y,
                       std::optional<Color> fillColour = std::nullopt);
void ApplyCompositeWindow(Form& window);

// True when the key shows a pressed indication: down now, or pressed since the last query.
bool IsEnterPressed();
bool IsEscPressed();

// Shows text in a speech balloon on window, with its tail tip at the anchor (twips): side 0
// extends to the right of the anchor, side 1 to the left. Returns once the balloon is painted.
void MakeRGNTalkWindow(Form& window, std::string_view text, float x, float y, int side);
