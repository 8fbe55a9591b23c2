// Every standard house of the Import Multi menu imports the same from the
// demo client written as each client generation.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>

#include "client/tile_data.h"
#include "io/multi_import.h"
#include "io/multi_menu.h"
#include "io_test_util.h"
#include "support/demo_client.h"
#include "support/import_multi.h"

namespace tavi {
namespace {

using test::DemoGeneration;

class MultiGenerations : public ::testing::TestWithParam<DemoGeneration> {
 protected:
  // The house a generation's client gives, over its own tile data.
  static const TUOTileData* Tiles(DemoGeneration g) {
    static std::map<DemoGeneration, std::unique_ptr<TUOTileData>> loaded;
    auto& t = loaded[g];
    const test::DemoPaths p = test::DemoClientPaths(g);
    if (!t) t = TUOTileData::Create(p.artIdx, p.tileData, p.art);
    return t.get();
  }
  struct Imported {
    const TUOTileData* tiles;
    PlainDocHost host;
    std::unique_ptr<TTAVIDoc> doc;
    LoadResult result;
  };
  static std::unique_ptr<Imported> Import(DemoGeneration g, int id, int base) {
    auto out = std::make_unique<Imported>();
    const test::DemoPaths p = test::DemoClientPaths(g);
    out->tiles = Tiles(g);
    out->doc = std::make_unique<TTAVIDoc>(8, 8, out->tiles, &out->host);
    out->doc->Clear(false);
    out->result = test::ImportClientMulti(*out->doc, id, base, p.multiIdx, p.multi,
                                          out->tiles->MultiRecordSize());
    return out;
  }
  void SetUp() override {}
};

TEST_P(MultiGenerations, EveryMenuHouseImportsAsFromLooseFiles) {
  for (const MultiMenuItem& item : kImportMultiMenu) {
    const auto loose = Import(DemoGeneration::kLoose, item.tag, item.baseHeight);
    const auto other = Import(GetParam(), item.tag, item.baseHeight);
    ASSERT_TRUE(loose->result.ok) << item.caption << ": " << loose->result.error;
    ASSERT_TRUE(other->result.ok) << item.caption << ": " << other->result.error;
    EXPECT_EQ(other->doc->Width, loose->doc->Width) << item.caption;
    EXPECT_EQ(other->doc->Height, loose->doc->Height) << item.caption;
    EXPECT_EQ(std::memcmp(other->doc->Tiles, loose->doc->Tiles, sizeof(loose->doc->Tiles)), 0)
        << item.caption;
    EXPECT_EQ(
        std::memcmp(other->doc->LayerCount, loose->doc->LayerCount, sizeof(loose->doc->LayerCount)),
        0)
        << item.caption;
  }
  // A multi the client does not have fails the same way on each.
  EXPECT_FALSE(Import(GetParam(), 101, 7)->result.ok);
}

INSTANTIATE_TEST_SUITE_P(Demo, MultiGenerations, ::testing::ValuesIn(test::kAllGenerations),
                         [](const auto& p) {
                           return std::string(test::DemoGenerationName(p.param));
                         });

}  // namespace
}  // namespace tavi
