#pragma once
// TLoadingScreen: the screen with a loading bar that TGame::MoveBar steps
// between long loads.  (The bar itself comes later; until then a step only
// draws the screen.)

#include "framework/screen.h"

namespace fw {

class TLoadingScreen : public TScreen {
public:
    virtual void Progress() {}
};

}  // namespace fw
