#pragma once
// Enemy soldiers on a small open map made by the test (100 rows: the view
// starts at 624), the hero playing at (130, 124) of the play field and
// spared by God mode unless a test wants him hit.  Soldiers are made by the
// game's creation functions or put at a place of the view by hand; the
// enemy pass runs alone (Update) or inside the whole tick (Tick).

#include <vector>

#include "game/play/enemies/enemy.h"
#include "tests/game/play/fixture.h"

namespace playtest {

class EnemyTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        map_ = MakeMap(100);
    }
    void Begin(int level = 1) {
        StartOnMap(map_, level);
        Frame();
        game::EnemyList->Clear();  // no start actors
        game::GodMode = 1;
    }
    // The soldier made last.
    static plat::Ref<game::T_Enemigo> Last() { return plat::As<game::T_Enemigo>(game::EnemyList->Last()); }
    // A soldier of a state at (x, row sy of the view), in EnemyList.
    static plat::Ref<game::T_Enemigo> Put(int estado, float x, float sy) {
        auto e = plat::New<game::T_Enemigo>();
        e->estado = estado;
        e->x = x;
        e->y = static_cast<float>(game::ViewTop) + sy;
        game::EnemyList->AddLast(e);
        return e;
    }
    static void HeroAt(float x, float sy) {
        game::Hero->x = x;
        game::Hero->y = static_cast<float>(game::ViewTop) + sy;
    }
    // The enemy pass alone, `n` times, with full ticks.
    static void Update(int n = 1) {
        fw::Delta = 1.0f;
        for (int i = 0; i < n; ++i) game::UpdateEnemies();
    }
    // The cells of the enemy sheets one soldier draws.
    std::vector<int> CellsOf(game::T_Enemigo& e) {
        plat::StartRecording();
        plat::ClearRecordedCalls();
        e.m_Draw_enemigo();
        std::vector<int> cells;
        for (const auto& c : plat::RecordedCalls())
            if (c.kind == plat::DrawRecord::IMAGE) cells.push_back(c.frame);
        plat::StopRecording();
        return cells;
    }
    // A bullet flying up at (x, y), the hero's unless another kind is named.
    static plat::Ref<game::T_Bala> HeroBullet(float x, float y, int owned = game::BALA_HERO) {
        auto b = plat::New<game::T_Bala>();
        b->owned = owned;
        b->dir = game::DIR_UP;
        b->x = x;
        b->y = y;
        b->yfinalbala = y - 80;
        game::ShotList->AddLast(b);
        return b;
    }

    plat::Ref<tilemap::TileMap> map_;
};

}  // namespace playtest
