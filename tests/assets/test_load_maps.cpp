// The nine maps through the game's map reader, one map object loaded again
// and again as the game does (title, then each area): no error, the 8 x 8
// blocks and 40 columns the view needs, the heights the title and the
// checkpoints assume, and nothing in them that the reader would quietly
// have to replace (cells naming no block, blocks naming no graphic).

#include <gtest/gtest.h>

#include <string>

#include "game/play/checkpoints.h"
#include "load_fixture.h"
#include "tilemap/tilemap.h"

namespace {

using namespace loadtest;

std::string MapFile(int n) { return "Data/Maps/Level" + std::to_string(n) + ".dat"; }

// Rows the map must have: the title shows eight views of 160 px; an area
// starts its view where its first checkpoint puts it back.
int NeededHeight(int n) {
    if (n == 0) return 8 * 160 / 8;
    return (game::CheckpointBands(n).front().view + 160) / 8 + 2;
}

using MapsLoad = InProgramFolder;

TEST_F(MapsLoad, EveryMapLoadsWithTheShapeTheGameNeeds) {
    auto map = plat::New<tilemap::TileMap>();
    for (int n = 0; n <= 8; ++n) {
        SCOPED_TRACE(MapFile(n));
        map->MapFreeMem();
        map->MapLoad(MapFile(n), 2);
        ASSERT_EQ(map->maperror, 0);
        EXPECT_EQ(map->mapblockwidth, 8);
        EXPECT_EQ(map->mapblockheight, 8);
        EXPECT_EQ(map->mapwidth, 40);
        if (n == 0) {
            EXPECT_GE(map->mapheight, NeededHeight(0));
        } else {
            EXPECT_EQ(map->mapheight, NeededHeight(n));
            // The level screen's start view is the first checkpoint's view,
            // and every checkpoint's view lies inside the map.
            const int start = (map->mapheight - 2) * map->mapblockheight - 160;
            for (const auto& band : game::CheckpointBands(n)) {
                EXPECT_GE(band.view, 0);
                EXPECT_LE(band.view, start);
            }
        }
    }
}

TEST_F(MapsLoad, EveryCellBlockAndGraphicIsThere) {
    auto map = plat::New<tilemap::TileMap>();
    for (int n = 0; n <= 8; ++n) {
        SCOPED_TRACE(MapFile(n));
        map->MapFreeMem();
        map->MapLoad(MapFile(n), 2);
        ASSERT_EQ(map->maperror, 0);
        ASSERT_GT(map->mapnumblockstr, 1);
        ASSERT_GT(map->mapnumblockgfx, 1);

        int badCells = 0;
        for (int layer = 0; layer <= 1; ++layer)
            for (int y = 0; y < map->mapheight; ++y)
                for (int x = 0; x < map->mapwidth; ++x) {
                    const int v = map->Cell(x, y, layer);
                    const bool names = v >= 0 ? v < map->mapnumblockstr : -v < map->mapnumanims;
                    if (!names && ++badCells <= 5)
                        ADD_FAILURE() << "layer " << layer << " cell (" << x << ", " << y << ") holds " << v;
                }
        EXPECT_EQ(badCells, 0) << "cells naming no block";

        for (int b = 0; b < map->mapnumblockstr; ++b) {
            const auto& block = map->blks[static_cast<std::size_t>(b)];
            for (int g : {block.bg, block.fg, block.fg2, block.fg3})
                EXPECT_TRUE(g >= 0 && g < map->mapnumblockgfx) << "block " << b << " names graphic " << g;
        }
        // Slots past the file's graphics hold the reader's blank stand-in.
        const auto& blank = map->Graphic(map->mapnumblockgfx);
        int missing = 0;
        for (int g = 0; g < map->mapnumblockgfx; ++g) {
            const auto& image = map->Graphic(g);
            if (!image || image == blank) {
                ++missing;
                continue;
            }
            EXPECT_EQ(image->width, 8);
            EXPECT_EQ(image->height, 8);
        }
        EXPECT_EQ(missing, 0) << "graphics the file did not supply";
    }
}

}  // namespace
