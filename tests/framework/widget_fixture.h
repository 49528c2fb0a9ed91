#pragma once
// Set-up of the widget tests (buttons, menus, the loading screen, sliders,
// text input, tool tips): the periphery fixture plus a temporary folder that
// is the shell's image, menu and sound folder, three short sounds in it, and
// the pointer, its buttons and typed keys driven by hand as the shell's
// event pump would.  There is no channel pool unless a test makes one, and
// no audio device: sounds go to silent channels whose cued sample shows
// what played.

#include <string>
#include <vector>

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/mouse.h"
#include "periphery_fixture.h"
#include "platform/audio/audio.h"
#include "platform/gfx/pixmap.h"
#include "test_lib_util.h"

namespace periphery {

class WidgetTest : public PeripheryTest {
protected:
    void SetUp() override {
        PeripheryTest::SetUp();
        fw::Game->ImagePath = dir.Dir();
        fw::Game->MenuPath = dir.Dir();
        fw::Game->SoundPath = dir.Dir();
        for (const char* name : {"over", "click", "click2", "typing"})
            testlib::WriteBytes(dir / (std::string(name) + ".wav"),
                                testlib::MakeWav(std::vector<std::int16_t>(4410, 2000)));
        over = fw::TGameSound::Create(dir / "over.wav", 0);
        click = fw::TGameSound::Create(dir / "click.wav", 0);
        click2 = fw::TGameSound::Create(dir / "click2.wav", 0);
    }
    void TearDown() override {
        fw::FlushInput();
        PeripheryTest::TearDown();
    }

    // A w x h PNG of one colour in the shell's image folder.
    void WritePicture(const std::string& file, int w, int h, std::uint32_t argb = 0xFFFFFFFFu) {
        auto p = plat::CreatePixmap(w, h);
        std::fill(p->pixels.begin(), p->pixels.end(), argb);
        plat::SavePixmapPNG(p, dir / file);
    }

    // The pointer at (x, y) of the drawing space (window pixels: the
    // virtual resolution is off).
    static void Pointer(int x, int y) {
        fw::Game->Mouse->x = x;
        fw::Game->Mouse->y = y;
    }
    // Button 1 goes down (a click) and stays held until Release.
    static void Press() {
        auto& m = *fw::Game->Mouse;
        m.b1 = 1;
        m.h1 += 1;
        m.CalcButtonTotals();
    }
    static void Release() {
        auto& m = *fw::Game->Mouse;
        m.b1 = 0;
        m.CalcButtonTotals();
    }
    // What the shell does at the start of every tick.
    static void NextTick() { fw::Game->Mouse->ClearMouseHit(); }
    static void HitKey(int key) {
        fw::KeyTableDown(key);
        fw::KeyTableUp(key);
    }

    // The sample last cued on a silent channel (nullptr: none); the
    // channel is emptied so the next play shows.
    static plat::Ref<plat::TSound> Played(const plat::Ref<plat::TChannel>& channel) {
        auto* silent = dynamic_cast<plat::SilentChannel*>(channel.get());
        if (!silent) return nullptr;
        auto sound = silent->sound;
        silent->Stop();
        return sound;
    }

    testlib::TempDir dir;
    plat::Ref<fw::TGameSound> over, click, click2;
};

// The same with the shell's pool of 16 channels on a loopback device.
class PoolSoundTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        ASSERT_TRUE(plat::OpenLoopbackAudio(44100, 2));
        fw::Game->Channels = fw::TChannelArray::Create(16);
        fw::Game->Channels->MaxVol = 16;
    }
    void TearDown() override {
        if (fw::Game && fw::Game->Channels) fw::Game->Channels->Kill();
        over = click = click2 = nullptr;
        WidgetTest::TearDown();
        plat::ShutdownAudio();
    }
    static int Playing() { return fw::Game->Channels->CountPlaying(); }
};

}  // namespace periphery
