#include "game/play/checkpoints.h"

#include "framework/input.h"
#include "game/globals.h"
#include "game/play/enemies/enemy.h"
#include "game/play/enemies/huts.h"
#include "game/play/hero.h"
#include "game/play/script/make_actor.h"

namespace game {

std::span<const CheckpointBand> CheckpointBands(int level) { return AreaTablesOf(level).checkpoints; }

void RestartFromCheckpoint() {
    fw::FlushInput();
    for (const auto& band : CheckpointBands(Level)) {
        const bool holds = band.last ? ViewTop >= band.threshold : ViewTop > band.threshold;
        if (!holds) continue;
        ViewTop = band.view;
        for (const auto& call : band.calls) MakeActor(call);
        break;
    }
    if (Hero) {
        Hero->x = 130.0f;
        Hero->y = static_cast<float>(ViewTop + 124);
        Hero->estado = HERO_ENTERING;
        Hero->Frame_ind = 0;
    }
    Direction = DIR_UP;
    LastDirection = DIR_UP;
    if (!AreaTablesOf(Level).huts.empty() && !HutList->IsEmpty()) StandHutsUp();
}

OverlayWindow OverlayAt(int level, int viewTop) {
    const AreaTables& area = AreaTablesOf(level);
    if (!area.overlay.Holds(viewTop)) return {};
    return {area.overlayRiders, area.overlayBridgeGrenadiers};
}

void DrawWindowedEnemies() {
    const OverlayWindow w = OverlayAt(Level, ViewTop);
    if (!w.riders && !w.bridgeGrenadiers) return;
    DrawOverlayEnemies(w.riders, w.bridgeGrenadiers);
}

}  // namespace game
