#pragma once
// The "Import Multi" submenu: one item per standard house, the item's tag
// being the multi id. The first six items sit in the nested "Small House"
// submenu.
#include <cstddef>

namespace tavi {

struct MultiMenuItem {
  const char* name;     // menu item name
  const char* caption;  // shown text
  int tag;              // multi id
  int baseHeight;       // base height the import uses
  bool smallHouse;      // inside the "Small House" submenu
};

inline constexpr const char* kImportMultiMenuName = "ImportMulti1";
inline constexpr const char* kImportMultiMenuCaption = "Import Multi";
inline constexpr const char* kSmallHouseMenuName = "SmallHouse1";
inline constexpr const char* kSmallHouseMenuCaption = "Small House";

inline constexpr MultiMenuItem kImportMultiMenu[] = {
    {"StoneAndPlaster1", "Stone and Plaster", 100, 7, true},
    {"FieldStone1", "Field Stone", 102, 7, true},
    {"SmallBrick1", "Small Brick", 104, 7, true},
    {"Wooden1", "Wooden", 106, 7, true},
    {"WoodandPlaster1", "Wood and Plaster", 108, 7, true},
    {"HatchedRoof1", "Thatched Roof", 110, 7, true},
    {"LargeBrick1", "Large Brick", 116, 7, false},
    {"N2StoryWooden1", "2Story Wood and Plaster", 118, 7, false},
    {"N2StoryStoneandPlaster1", "2Story Stone and Plaster", 120, 7, false},
    {"Tower1", "Tower", 122, 6, false},
    {"Keep1", "Keep", 124, 6, false},
    {"Castle1", "Castle", 126, 6, false},
    {"LargeHousewPatio1", "Large House with Patio", 140, 7, false},
    {"LargeMarblePatio1", "Large Marble Patio", 150, 4, false},
    {"SmallStoneTower1", "Small Stone Tower", 152, 6, false},
    {"LogCabin1", "Log Cabin", 154, 8, false},
    {"SandStonePatio1", "Sand Stone Patio", 156, 6, false},
    {"N2StoryVilla1", "2Story Villa", 158, 5, false},
    {"SmallStoneShop1", "Small Stone Shop", 160, 7, false},
    {"SmallMarbleShop1", "Small Marble Shop", 162, 4, false},
};
inline constexpr size_t kImportMultiMenuCount =
    sizeof(kImportMultiMenu) / sizeof(kImportMultiMenu[0]);

// The base height for a tag: 122, 124, 126, 152, 156 give 6; 150, 162 give 4;
// 154 gives 8; 158 gives 5; every other tag 7.
constexpr int MultiBaseHeight(int tag) {
  switch (tag) {
    case 122:
    case 124:
    case 126:
    case 152:
    case 156:
      return 6;
    case 150:
    case 162:
      return 4;
    case 154:
      return 8;
    case 158:
      return 5;
    default:
      return 7;
  }
}

}  // namespace tavi
