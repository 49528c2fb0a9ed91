#include "game/play/script/area_tables.h"

namespace game {

// kAreaTables and kFortressFires, written by the build from assets/areas/.
#include "area_tables.inc"

const AreaTables& AreaTablesOf(int level) {
    return kAreaTables[level >= 1 && level <= 8 ? level : 0];
}

std::span<const CreationCall> FortressFires() { return kFortressFires; }

bool IsFortressArea(int level) { return AreaTablesOf(level).fortress; }

}  // namespace game
