#pragma once
// TMenu: a menu of buttons that a screen may keep; the base screen hooks run,
// draw and kill it.  (The menu widgets themselves come later; until then a
// menu does nothing.)

#include "platform/core/object.h"

namespace fw {

class TMenu : public plat::Object {
public:
    virtual void Manage(float x, float y) { (void)x, (void)y; }
    virtual void ManageNoSound(float x, float y) { (void)x, (void)y; }
    virtual void Draw(float x, float y) { (void)x, (void)y; }
    virtual void Kill() {}
};

}  // namespace fw
