#pragma once
// The SID chip emulation's one-time set-up.  The first reSID builder of a
// program builds tables the emulation shares (a few hundred milliseconds of
// CPU), so it is built beside the main thread as soon as the program means
// to play SID music; the first source to render takes it over, waiting only
// when the build has not finished yet.  Not for users of the module.

#include <memory>

#include "music/sid_glue.h"

namespace music::detail {

struct BuilderRelease {
    void operator()(SidBuilder* builder) const { sid_builder_release(builder); }
};
using BuilderPtr = std::unique_ptr<SidBuilder, BuilderRelease>;

// Starts the build on a worker thread, once per program; later calls do
// nothing.  The worker is joined when the program ends.
void PrepareSidEmulation();

// A builder with its chips, set up for rendering; waits for the build (and
// starts it first when nobody has).  nullptr when no builder could be made.
// Main thread only.
BuilderPtr TakeSidEmulation();

}  // namespace music::detail
