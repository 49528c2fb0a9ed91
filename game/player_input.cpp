#include "game/player_input.h"

#include "framework/input.h"
#include "game/globals.h"
#include "platform/sys/input.h"

namespace game {

namespace {

// The first rule that holds, diagonals before single directions, left
// before right and up before down.
int DirectionOf(bool left, bool right, bool up, bool down) {
    if (left && up) return DIR_UP_LEFT;
    if (left && down) return DIR_DOWN_LEFT;
    if (right && up) return DIR_UP_RIGHT;
    if (right && down) return DIR_DOWN_RIGHT;
    if (left) return DIR_LEFT;
    if (right) return DIR_RIGHT;
    if (up) return DIR_UP;
    if (down) return DIR_DOWN;
    return DIR_NONE;
}

void SetDirection(int code) {
    Direction = code;
    if (code != DIR_NONE) LastDirection = code;
}

}  // namespace

void ReadPlayerInput() {
    if (ControlMode == 0) {
        SetDirection(DirectionOf(fw::KeyDownCode(LeftKeys[1]) != 0, fw::KeyDownCode(RightKeys[1]) != 0,
                                 fw::KeyDownCode(UpKeys[1]) != 0, fw::KeyDownCode(DownKeys[1]) != 0));
        if (fw::KeyHitCode(FireKeys[1])) FireButtons = 1;
        else if (fw::KeyHitCode(GrenadeKeys[1])) FireButtons = 2;
        else FireButtons = 0;
    } else if (ControlMode == 1) {
        const float x = plat::JoyX(0);
        const float y = plat::JoyY(0);
        const float z = JoyDeadZone;
        SetDirection(DirectionOf(x < -z, x > z, y < -z, y > z));
        if (plat::JoyHit(0, 0)) FireButtons = 1;
        else if (plat::JoyHit(1, 0)) FireButtons = 2;
        else FireButtons = 0;
    }
}

}  // namespace game
