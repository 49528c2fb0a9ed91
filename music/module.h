#pragma once
// Start-up bookkeeping shared by the music module's parts (not for users).

namespace music::detail {

// Changes whenever the tests reset the module; a part whose recorded value
// differs has not started in the current program state.
int ModuleGeneration();

}  // namespace music::detail
