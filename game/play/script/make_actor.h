#pragma once
// Making the actors the area tables name.  Every table's creation call (the
// level start, the checkpoints, the fortress, the spawn chains) goes through
// MakeActor, so the rules of a call are kept in one place: a picker's
// direction is drawn first, then a door soldier's kind is rolled, then the
// actor's creation function runs.

#include "game/play/script/area_tables.h"

namespace game {

void MakeActor(const CreationCall& call);

// The call as it will be made: the direction drawn from the call's picker
// (Picker::None after it) and a door soldier's kind rolled with
// RandRange(1, 10) (even: Corredor_puerta, odd: Granadero_puerta).  False
// for a call with a picker but no argument to take its direction.
bool ResolveCall(const CreationCall& call, CreationCall& resolved);

}  // namespace game
