#include "game/play/level_hooks.h"

namespace game {

TPlayHooks& PlayHooks() {
    static TPlayHooks hooks;
    return hooks;
}

}  // namespace game
