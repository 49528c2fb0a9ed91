#pragma once
// TParticleList: the particles of an effect, managed each tick and drawn
// each frame.  (Particles come later; until then the list holds nothing to
// manage or draw.)

#include "platform/core/list.h"
#include "platform/core/object.h"

namespace fw {

class TParticleList : public plat::TList<plat::Object> {
public:
    virtual void Manage() {}
    virtual void Draw() {}
};

}  // namespace fw
