#pragma once
// TProfile: a player profile that the shell saves when the program is closed
// during play.  (Profiles come later; until then saving does nothing.)

#include "platform/core/object.h"

namespace fw {

class TProfile : public plat::Object {
public:
    virtual void Save() {}
};

}  // namespace fw
