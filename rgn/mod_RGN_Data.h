#pragma once
// The built-in outlines: region tables in the platform's region-data layout, by shape number.

#include <array>
#include <cstddef>

#include "platform/gdi.h"
#include "rgn/shapes.h"

template <size_t Capacity>
struct RegionTable {
  RGNDATAHEADER rdh;
  RECT Buffer[Capacity];
};

// Shapes 0 (digit cell) and 1 (answer cursor); slot 2 stays empty.
extern std::array<RegionTable<9>, 3> RegionTables;
// Shapes 10000 to 10007: balloon ends and their one-pixel rims.
extern std::array<RegionTable<15>, 8> TalkRegionTables;
extern bool RegionTablesReady;
extern bool TalkRegionTablesReady;

void InitRegionTables();
void InitTalkRegionTables();
// Fill each set on first use, guarded by its flag.
void EnsureRegionTables();
void EnsureTalkRegionTables();

// The table of a shape number and its size in bytes, or nullptr for a number outside both sets.
const std::byte* ShapeTable(int shape, uint32_t* byte_count);

static_assert(sizeof(RegionTable<9>) == sizeof(RGNDATAHEADER) + 9 * sizeof(RECT),
              "a region table is its header followed directly by its rectangles");
