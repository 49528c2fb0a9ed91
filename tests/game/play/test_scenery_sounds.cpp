// The sounds of a collected grenade pack, a destroyed hut and the
// machine-gun car, played by the actors themselves from the game's own
// sound files and mixed through OpenAL's loopback device: each must be
// heard, and none may sound like another. The mixes are also saved as WAV
// (tests/play_frames/scenery_*.wav in the build folder) to listen to.

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "framework/channels.h"
#include "game/front/main_program.h"
#include "game/play/enemies/huts.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/pickups.h"
#include "platform/audio/audio.h"
#include "tests/framework/test_lib_util.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

constexpr int kRate = 44100;

// The loudness of a mix in 50 ms windows: enough to tell the shapes of
// short effects apart without comparing their samples one by one.
std::vector<double> Envelope(const std::vector<std::int16_t>& stereo) {
    constexpr std::size_t kWindow = kRate / 20;
    std::vector<double> out;
    for (std::size_t start = 0; start + 2 * kWindow <= stereo.size(); start += 2 * kWindow) {
        double sum = 0;
        for (std::size_t i = start; i < start + 2 * kWindow; i += 2) sum += double(stereo[i]) * stereo[i];
        out.push_back(std::sqrt(sum / kWindow));
    }
    return out;
}

class ScenerySounds : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        open_ = plat::OpenLoopbackAudio(kRate, 2);
        if (!open_) return;
        fw::Game->Sound = 1;
        fw::Game->SoundVolume = 100;
        fw::Game->ChannelsCreate(16);
        SoundBank = plat::New<fw::TSoundBank>();
        SoundBank->SetPath((BinFolder() / "Data" / "sound").string());
        LoadGameSounds();

        map_ = MakeMap(200);
        StartOnMap(map_, 2);
        HutList->Clear();
        ViewTop = 800;
        Hero->y = 930;
    }
    void TearDown() override {
        if (open_) {
            fw::Game->ChannelsKill();
            plat::ShutdownAudio();
        }
        PlayTest::TearDown();
    }
    // A second and a half of the mix from now, saved under `name`.
    std::vector<std::int16_t> Record(const std::string& name) {
        auto pcm = plat::RenderLoopback(kRate * 3 / 2);
        std::vector<std::int16_t> left;
        for (std::size_t i = 0; i < pcm.size(); i += 2) left.push_back(pcm[i]);
        const fs::path folder = BinFolder().parent_path() / "tests" / "play_frames";
        fs::create_directories(folder);
        const auto bytes = testlib::MakeWav(left, kRate);
        std::ofstream(folder / ("scenery_" + name + ".wav"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return pcm;
    }
    bool open_ = false;
    plat::Ref<tilemap::TileMap> map_;
};

TEST_F(ScenerySounds, PackHutAndCarAreHeardAndDistinct) {
    if (!open_) GTEST_SKIP() << "no loopback audio device";

    // The pack under the hero's feet.
    T_Pack_Granadas::f_Create_pack_gr(static_cast<int>(Hero->x), static_cast<int>(Hero->y) + 21);
    UpdatePickups();
    const auto pack = Envelope(Record("snd2_pack"));

    // A grenade of the hero bursting over a hut.
    T_Caseta::f_Create_Caseta(900, DIR_LEFT);
    auto hut = plat::As<T_Caseta>(HutList->Last());
    PutGrenade(hut->x + 12, hut->y + 18);
    UpdateHuts();
    ASSERT_EQ(hut->estado, HUT_DESTROYED);
    const auto burst = Envelope(Record("snd4_hut"));

    T_Vehiculo_Enemigo::f_Create_v_Ametralladora(800);
    const auto car = Envelope(Record("snd6_car"));

    const struct { const char* name; const std::vector<double>& env; } sounds[] = {
        {"pack", pack}, {"hut", burst}, {"car", car}};
    for (const auto& s : sounds)
        EXPECT_GT(*std::max_element(s.env.begin(), s.env.end()), 1000.0) << s.name << " is not heard";
    // Two sounds differ when their loudness over time differs by a good
    // part of the louder one's.
    for (std::size_t a = 0; a < 3; ++a)
        for (std::size_t b = a + 1; b < 3; ++b) {
            const auto& x = sounds[a].env;
            const auto& y = sounds[b].env;
            double diff = 0, level = 0;
            for (std::size_t i = 0; i < x.size(); ++i) {
                diff += std::fabs(x[i] - y[i]);
                level += std::max(x[i], y[i]);
            }
            EXPECT_GT(diff / level, 0.25) << sounds[a].name << " sounds like " << sounds[b].name;
        }
}

}  // namespace
}  // namespace playtest
