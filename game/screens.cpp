#include "game/screens.h"

#include "framework/game.h"
#include "framework/screen.h"

namespace game {

void HandOver(const plat::Ref<fw::TScreen>& next) {
    if (!next) return;
    next->PreStart();
    fw::Game->DestinationTScreen = next;
}

}  // namespace game
