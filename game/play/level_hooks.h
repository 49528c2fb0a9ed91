#pragma once
// The place where the level play reaches the spawn script, which lives in a
// module of its own: a function-valued field that the module fills in when
// the program starts; an empty hook is skipped.
//
// This seam exists only until that module is written: then the level screen
// calls it directly and this file goes (the plan is in README.md of this
// folder).

#include <functional>
#include <utility>

namespace game {

struct TPlayHooks {
    // --- the tick (TLevelScreen::Logic) ---------------------------------------
    std::function<void()> RunSpawnScript;   // the level script, once per tick
};

// The one set of hooks of the program.
TPlayHooks& PlayHooks();

// Calls a hook when it is set.
template <class F, class... A>
inline void CallHook(const F& hook, A&&... args) {
    if (hook) hook(std::forward<A>(args)...);
}

}  // namespace game
