#pragma once
// TIntroducirRecordsScreen, the high-score name entry, lives with its
// letter tiles, crosshair and bullet in name_entry.h.

#include "game/name_entry.h"
