// The status line: texts, positions and the black bars.

#include "game/play/hud.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

TEST(ScorePadding, AlwaysAtLeastSevenDigits) {
    const struct { int n; const char* shown; } cases[] = {
        {0, "0000000"}, {7, "0000007"}, {300, "0000300"}, {999999, "0999999"},
        {1000000, "1000000"}, {12345678, "12345678"}, {10, "0000010"}, {100000, "0100000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(game::ScorePadding(c.n) + std::to_string(c.n), c.shown) << c.n;
}

}  // namespace
}  // namespace playtest
