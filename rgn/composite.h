#pragma once
// Composite windows: a window whose outline is the union of many shapes. Begin once, add each
// shape (twips from the window's corner), then apply.

#include <optional>

#include "platform/surface.h"

class Form;

// What each shape adds to the window's image; any other mode adds only its outline.
inline constexpr int kPaintPictures = 1;  // its face picture
inline constexpr int kPaintSolid = 2;     // a fill of one colour

void BeginCompositeWindow(Form& window, int paintMode);
void AddCompositeShape(int shapeNo, Form& window, float x, float y,
                       std::optional<Color> fillColour = std::nullopt);
void ApplyCompositeWindow(Form& window);
