#pragma once
// Screens and the shell's fade.  Every page of the program is a TScreen
// subclass; the shell runs the current screen's Logic each logic tick and
// its Draw each frame, and switches screens at the end of a fade-out.

#include <string>

#include "platform/audio/audio.h"
#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace fw {

class TSprite;
class TMenu;
class TGameChannel;

class TScreen : public plat::Object {
public:
    plat::Ref<plat::TImage> Image;   // full-screen background
    plat::Ref<TSprite> Header;       // header picture over the background
    std::string Ext = ".png";        // appended by HeaderLoad
    plat::Ref<TMenu> Menu;           // optional menu run by the base hooks
    std::string name;
    int StopKill = 0;                // leave without Kill
    int StopInit = 0;                // re-enter without Load and Start
    plat::Ref<TScreen> Destination;  // for the screen's own use

    // Hooks, in the order the shell knows them.
    virtual void ImageLoad(const std::string& file, int flags, int preload);
    virtual void HeaderLoad(const std::string& file, float x, float y, int preload);
    virtual void PreStart();
    virtual void ResetStops();
    virtual void Load();
    virtual void Start();
    virtual void CoreStart();
    virtual void PostFadeIn();
    virtual void PostFadeOut();
    virtual void Kill();
    virtual void Logic();
    virtual void Draw();
    // Sets Game->DestinationTScreen for Escape; returns the fade length in
    // milliseconds (0: the default 500).
    virtual int SetEscDestination();
    virtual void SpecificKeys();
    // One tick of the screen run inside something else (a dialog's
    // follow-up screen) instead of by the shell: 1 once it is done.  Here
    // it runs Logic and is never done.
    virtual int EmbeddedLogic();

protected:
    // The screen as a shared reference (screens are always held by Refs).
    plat::Ref<TScreen> Self();
};

// Making it the destination ends the program.
class TExitScreen : public TScreen {};

class TGameFade : public plat::Object {
public:
    int Length = 0;        // ticks
    float Counter = 0;     // ticks elapsed
    int Active = 0;
    int Out = 1;           // 1 to black, 0 from black
    float Ratio = 0;       // 0 black .. 1 fully visible
    int Done = 0;          // set when a fade finishes; consumed by GetDone
    plat::Ref<plat::TChannel> Channel;   // follows Ratio (the music)
    plat::Ref<TGameChannel> Channel2;    // a pool channel that follows Ratio
    int Channel2IsGameChannelArray = 1;
    int AllowAnim = 0;     // the screen's logic keeps running during the fade
    int FadeInAborted = 0;
    float FadeCounterBeforeAbort = 0;
    int SetToFullOnAbort = 1;
    int AbortKey = 0;      // key that cut a fade-in short (-1 a click, 0 Escape)

    // 1 started, 0 ignored (a fade is already running).
    virtual int Init(float lengthMs, int out, const plat::Ref<plat::TChannel>& channel,
                     int allowAnim, int startCounter,
                     const plat::Ref<TGameChannel>& gameChannel = nullptr);
    virtual void Finish();
    // -1 cut short by a key or click, 1 finished this tick, 0 otherwise.
    virtual int Manage();
    virtual void CalcRatio();
    virtual void FadeChannels();
    virtual void Draw();
    virtual int GetDone();
};

}  // namespace fw
