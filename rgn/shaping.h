#pragma once
// The library's inner routines: shapes as regions, given to windows and painted on them.

#include "platform/gdi.h"

class Picture;
class Surface;

// The two fatal messages of the library.
inline constexpr const char* kRegionDataFailure = "It failed in reading of region data.";
inline constexpr const char* kShapingFailure = "It failed in plastic surgery of a window.";

// A new region of the shape with its origin at (x, y) twips; the caller owns it.
HRGN MakeShapeRegion(int shapeNo, float x, float y);
// The shape's outline for the window, replacing its outline or, with merge, added to it.
void ShapeWindow(int shapeNo, Surface& window, float x, float y, bool merge);
// The shape's face picture drawn at (x, y) twips, changing no pixel outside the shape.
void PaintShapePicture(int shapeNo, Surface& window, float x, float y);
// The face picture of shape 0 or 1, from the picture store frm_RGN_Picture.
const Picture& pPicture(int shapeNo);
