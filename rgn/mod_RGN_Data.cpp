#include "rgn/mod_RGN_Data.h"

#include <algorithm>

std::array<RegionTable<9>, 3> RegionTables{};
std::array<RegionTable<15>, 8> TalkRegionTables{};
bool RegionTablesReady = false;
bool TalkRegionTablesReady = false;

namespace {

// Rectangles in pixels from the shape's origin, right and bottom exclusive, in stored order.
constexpr RegionTable<9> kShapes[] = {
    // Shape 0
    {{32, RDH_RECTANGLES, 3, 48, {1, 1, 17, 17}}, {{2, 1, 16, 2}, {1, 2, 17, 16}, {2, 16, 16, 17}}},
    // Shape 1
    {{32, RDH_RECTANGLES, 8, 128, {1, 1, 33, 32}},
     {{1, 1, 33, 17},
      {11, 18, 25, 20},
      {12, 20, 24, 22},
      {13, 22, 23, 24},
      {14, 24, 22, 26},
      {15, 26, 21, 28},
      {16, 28, 20, 30},
      {17, 30, 19, 32}}}};

constexpr RegionTable<15> kTalkShapes[] = {
    // Shape 10000
    {{32, RDH_RECTANGLES, 9, 144, {0, 1, 8, 18}},
     {{7, 1, 8, 2},
      {5, 2, 8, 3},
      {3, 3, 8, 5},
      {2, 5, 8, 6},
      {1, 6, 8, 11},
      {2, 11, 8, 14},
      {1, 14, 8, 16},
      {0, 16, 5, 17},
      {0, 17, 3, 18}}},
    // Shape 10001
    {{32, RDH_RECTANGLES, 9, 144, {0, 1, 7, 16}},
     {{0, 1, 1, 2},
      {0, 2, 3, 3},
      {0, 3, 5, 5},
      {0, 5, 6, 6},
      {0, 6, 7, 11},
      {0, 11, 6, 12},
      {0, 12, 5, 14},
      {0, 14, 3, 15},
      {0, 15, 1, 16}}},
    // Shape 10002
    {{32, RDH_RECTANGLES, 9, 144, {0, 1, 7, 16}},
     {{6, 1, 7, 2},
      {4, 2, 7, 3},
      {2, 3, 7, 5},
      {1, 5, 7, 6},
      {0, 6, 7, 11},
      {1, 11, 7, 12},
      {2, 12, 7, 14},
      {4, 14, 7, 15},
      {6, 15, 7, 16}}},
    // Shape 10003
    {{32, RDH_RECTANGLES, 9, 144, {0, 1, 8, 18}},
     {{0, 1, 1, 2},
      {0, 2, 3, 3},
      {0, 3, 5, 5},
      {0, 5, 6, 6},
      {0, 6, 7, 11},
      {0, 11, 6, 14},
      {0, 14, 7, 16},
      {3, 16, 8, 17},
      {5, 17, 8, 18}}},
    // Shape 10004
    {{32, RDH_RECTANGLES, 15, 240, {0, 1, 8, 18}},
     {{7, 1, 8, 2},
      {5, 2, 7, 3},
      {3, 3, 5, 4},
      {3, 4, 4, 5},
      {2, 5, 3, 6},
      {1, 6, 2, 11},
      {2, 11, 3, 12},
      {2, 12, 4, 13},
      {2, 13, 3, 14},
      {1, 14, 2, 15},
      {1, 15, 2, 16},
      {5, 15, 8, 16},
      {0, 16, 1, 17},
      {3, 16, 5, 17},
      {0, 17, 3, 18}}},
    // Shape 10005
    {{32, RDH_RECTANGLES, 11, 176, {0, 1, 7, 16}},
     {{0, 1, 1, 2},
      {1, 2, 3, 3},
      {3, 3, 5, 4},
      {4, 4, 5, 5},
      {5, 5, 6, 6},
      {6, 6, 7, 11},
      {5, 11, 6, 12},
      {4, 12, 5, 13},
      {3, 13, 5, 14},
      {1, 14, 3, 15},
      {0, 15, 1, 16}}},
    // Shape 10006
    {{32, RDH_RECTANGLES, 11, 176, {0, 1, 7, 16}},
     {{6, 1, 7, 2},
      {4, 2, 6, 3},
      {2, 3, 4, 4},
      {2, 4, 3, 5},
      {1, 5, 2, 6},
      {0, 6, 1, 11},
      {1, 11, 2, 12},
      {2, 12, 3, 13},
      {2, 13, 4, 14},
      {4, 14, 6, 15},
      {6, 15, 7, 16}}},
    // Shape 10007
    {{32, RDH_RECTANGLES, 15, 240, {0, 1, 8, 18}},
     {{0, 1, 1, 2},
      {1, 2, 3, 3},
      {3, 3, 5, 4},
      {4, 4, 5, 5},
      {5, 5, 6, 6},
      {6, 6, 7, 11},
      {5, 11, 6, 12},
      {4, 12, 6, 13},
      {5, 13, 6, 14},
      {6, 14, 7, 15},
      {0, 15, 3, 16},
      {6, 15, 7, 16},
      {3, 16, 5, 17},
      {7, 16, 8, 17},
      {5, 17, 8, 18}}}};

template <size_t Capacity>
const std::byte* Bytes(const RegionTable<Capacity>& table, uint32_t* byte_count) {
  *byte_count = table.rdh.dwSize + table.rdh.nRgnSize;
  return reinterpret_cast<const std::byte*>(&table);
}

}  // namespace

void InitRegionTables() {
  std::copy(std::begin(kShapes), std::end(kShapes), RegionTables.begin());
}

void InitTalkRegionTables() {
  std::copy(std::begin(kTalkShapes), std::end(kTalkShapes), TalkRegionTables.begin());
}

void EnsureRegionTables() {
  if (RegionTablesReady) return;
  InitRegionTables();
  RegionTablesReady = true;
}

void EnsureTalkRegionTables() {
  if (TalkRegionTablesReady) return;
  InitTalkRegionTables();
  TalkRegionTablesReady = true;
}

const std::byte* ShapeTable(int shape, uint32_t* byte_count) {
  if (shape >= TalkShapeBase) {
    size_t slot = static_cast<size_t>(shape - TalkShapeBase);
    return slot < TalkRegionTables.size() ? Bytes(TalkRegionTables[slot], byte_count) : nullptr;
  }
  if (shape < 0 || static_cast<size_t>(shape) >= RegionTables.size()) return nullptr;
  return Bytes(RegionTables[static_cast<size_t>(shape)], byte_count);
}
