#pragma once
// Regions, brushes and drawing surfaces under the names the shaping code uses. Every object
// is an integer handle from one table, so ownership can be checked: a region handed to a
// window with SetWindowRgn belongs to the window from then on and dies with it.

#include <cstddef>
#include <cstdint>

#include "platform/colors_and_fonts.h"

using HGDIOBJ = int32_t;
using HRGN = int32_t;
using HBRUSH = int32_t;
using HDC = int32_t;
using HWND = int32_t;

struct RECT {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// Region data: this header, then nCount rectangles; all fields 32-bit little-endian.
struct RGNDATAHEADER {
  uint32_t dwSize;
  uint32_t iType;
  uint32_t nCount;
  uint32_t nRgnSize;
  RECT rcBound;
};

struct XFORM {
  float eM11, eM12, eM21, eM22, eDx, eDy;
};

struct LOGBRUSH {
  uint32_t lbStyle;
  Color lbColor;
  uint32_t lbHatch;
};

inline constexpr uint32_t RDH_RECTANGLES = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;
inline constexpr uint32_t BS_SOLID = 0;
inline constexpr uint32_t SRCCOPY = 0x00CC0020;

// A region from region data (only the identity transform is supported); 0 when the data is
// not a valid table of at least one rectangle.
HRGN ExtCreateRegion(const XFORM* transform, uint32_t byte_count, const std::byte* data);
HRGN CreateRectRgn(int left, int top, int right, int bottom);
int OffsetRgn(HRGN region, int dx, int dy);
// Only RGN_OR: dest becomes the union of source1 and source2.
int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode);
int GetRgnBox(HRGN region, RECT* box);

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
// Frees a region or brush; false for a bad handle or a region that belongs to a window.
bool DeleteObject(HGDIOBJ object);

// The clipping area of a drawing surface (a copy of region); region 0 removes it.
int SelectClipRgn(HDC dc, HRGN region);
bool FillRgn(HDC dc, HRGN region, HBRUSH brush);
bool BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int source_x, int source_y,
            uint32_t rop);

// Gives the window its outline (region 0: none) and takes the region over; 0 when refused.
int SetWindowRgn(HWND window, HRGN region, bool redraw);
// Copies the window's outline into region; ERROR when the window has none.
int GetWindowRgn(HWND window, HRGN region);

// Owns a region or brush handle and deletes it when it goes, unless it was handed on.
class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ handle = 0) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  HGDIOBJ Get() const { return handle_; }
  // Gives the handle up: whoever takes it deletes it.
  HGDIOBJ Release() {
    HGDIOBJ handle = handle_;
    handle_ = 0;
    return handle;
  }
  void Reset(HGDIOBJ handle = 0);

 private:
  HGDIOBJ handle_;
};

// SetWindowRgn with an owned region: the window takes it over, or, refused, it is deleted.
int SetWindowRgn(HWND window, GdiObject region, bool redraw);
