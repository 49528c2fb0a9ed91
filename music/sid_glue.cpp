#include "music/sid_glue.h"

#include <sidplayfp/SidConfig.h>
#include <sidplayfp/SidInfo.h>
#include <sidplayfp/SidTune.h>
#include <sidplayfp/SidTuneInfo.h>
#include <sidplayfp/builders/resid.h>
#include <sidplayfp/sidplayfp.h>

#include <memory>
#include <new>

namespace music {

namespace {

// Copies the engine's configuration, lets `change` edit it and applies it.
template <class F>
int Reconfigure(SidEngine* engine, F change) {
    if (!engine) return 0;
    SidConfig config = engine->config();
    if (!change(config)) return 0;
    return engine->config(config) ? 1 : 0;
}

}  // namespace

// The standard console player's filter bias for the reSID builder, in
// millivolts.  Left unset, 8580 tunes came out up to 11 dB louder than that
// player renders them, by what the program had played before, and the
// 6581's filter a little off.
constexpr double kFilterBias = 0.5;

// Power-on to the tune's start, in CPU cycles.  Left alone the library picks
// it at random per engine from the wall clock, so a tune would start at a
// different moment on every load and in every run; a fixed wait makes every
// render of a song the same sound, and none starts later than this one.
constexpr uint_least16_t kPowerOnDelay = 0;

int sid_max_chips() {
    static const int chips = static_cast<int>(sidplayfp().info().maxsids());
    return chips;
}

SidBuilder* sid_builder_create(const char* name, int chips) {
    if (chips <= 0) return nullptr;
    try {
        auto builder = std::make_unique<ReSIDBuilder>(name ? name : "");
        if (!builder->getStatus()) return nullptr;
        builder->create(static_cast<unsigned int>(chips));
        if (!builder->getStatus()) return nullptr;
        builder->filter(true);
        builder->bias(kFilterBias);
        return builder.release();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void sid_builder_release(SidBuilder* builder) { delete builder; }

SidEngine* sid_player_create() {
    auto engine = std::unique_ptr<sidplayfp>(new (std::nothrow) sidplayfp());
    if (!engine) return nullptr;
    SidConfig config = engine->config();
    config.sidEmulation = nullptr;
    config.defaultC64Model = SidConfig::PAL;
    config.powerOnDelay = kPowerOnDelay;
    // Interpolation on the fast path costs a quarter of the default
    // resampling and sounds the same at 44.1 kHz.
    config.samplingMethod = SidConfig::INTERPOLATE;
    config.fastSampling = true;
    if (!engine->config(config)) return nullptr;
    return engine.release();
}

int sid_player_set_emulation(SidEngine* engine, SidBuilder* builder) {
    return Reconfigure(engine, [&](SidConfig& c) {
        if (!builder) return false;
        c.sidEmulation = builder;
        return true;
    });
}

int sid_player_set_frequency(SidEngine* engine, int rate) {
    return Reconfigure(engine, [&](SidConfig& c) {
        if (rate <= 0) return false;
        c.frequency = static_cast<uint_least32_t>(rate);
        return true;
    });
}

int sid_player_set_precision(SidEngine* engine, int bits) {
    return Reconfigure(engine, [&](SidConfig&) { return bits == 16; });
}

int sid_player_set_playback(SidEngine* engine, int channels) {
    return Reconfigure(engine, [&](SidConfig& c) {
        if (channels == 1) c.playback = SidConfig::MONO;
        else if (channels == 2) c.playback = SidConfig::STEREO;
        else return false;
        return true;
    });
}

int sid_player_set_clock_speed(SidEngine* engine, int speed) {
    return Reconfigure(engine, [&](SidConfig& c) {
        switch (speed) {
            case SID_CLOCK_CORRECT: c.defaultC64Model = SidConfig::PAL; c.forceC64Model = false; return true;
            case SID_CLOCK_PAL: c.defaultC64Model = SidConfig::PAL; return true;
            case SID_CLOCK_NTSC: c.defaultC64Model = SidConfig::NTSC; return true;
            default: return false;
        }
    });
}

void sid_player_destroy(SidEngine* engine) { delete engine; }

int sid_player_load(SidEngine* engine, SidTuneHandle* tune) {
    if (!engine) return -1;
    return engine->load(tune) ? 0 : -1;
}

int sid_player_play(SidEngine* engine, void* buffer, int length) {
    if (!engine) return -1;
    if (!buffer || length < 2) return 0;
    auto samples = static_cast<uint_least32_t>(length / 2);
    return static_cast<int>(engine->play(static_cast<short*>(buffer), samples) * 2);
}

SidTuneHandle* sid_tune_create(const char*) { return new (std::nothrow) SidTune(nullptr); }

void sid_tune_destroy(SidTuneHandle* tune) { delete tune; }

int sid_tune_read(SidTuneHandle* tune, const std::uint8_t* data, int length) {
    if (!tune || !data || length <= 0) return 0;
    tune->read(data, static_cast<uint_least32_t>(length));
    return tune->getStatus() ? 1 : 0;
}

int sid_tune_select_song(SidTuneHandle* tune, int song) {
    if (!tune) return -1;
    return static_cast<int>(tune->selectSong(static_cast<unsigned int>(song < 0 ? 0 : song)));
}

const SidInfoHandle* sid_tune_get_info(SidTuneHandle* tune) { return tune ? tune->getInfo() : nullptr; }

int sid_info_songs(const SidInfoHandle* info) { return info ? static_cast<int>(info->songs()) : 0; }
int sid_info_load_address(const SidInfoHandle* info) { return info ? static_cast<int>(info->loadAddr()) : -1; }
int sid_info_init_address(const SidInfoHandle* info) { return info ? static_cast<int>(info->initAddr()) : -1; }
long sid_info_data_length(const SidInfoHandle* info) { return info ? static_cast<long>(info->c64dataLen()) : -1; }

int sid_player_stop(SidEngine* engine) {
    if (!engine) return -1;
    engine->stop();
    return 0;
}

int sid_player_fast_forward(SidEngine* engine, int percent) {
    if (!engine) return -1;
    return engine->fastForward(static_cast<unsigned int>(percent < 0 ? 0 : percent)) ? 0 : -1;
}

int sid_player_time(SidEngine* engine) { return engine ? static_cast<int>(engine->time()) : -1; }

std::string sid_player_error(SidEngine* engine) {
    const char* text = engine ? engine->error() : nullptr;
    return text ? text : "";
}

int sid_tune_load(SidTuneHandle* tune, const char* file) {
    if (!tune) return -1;
    tune->load(file ? file : "");
    return tune->getStatus() ? 1 : 0;
}

int sid_tune_is_stereo(SidTuneHandle* tune) {
    const SidTuneInfo* info = tune ? tune->getInfo() : nullptr;
    return info && info->sidChips() > 1 ? 1 : 0;
}

std::string sid_player_speed_string(SidEngine* engine) {
    const char* text = engine ? engine->info().speedString() : nullptr;
    return text ? text : "";
}

std::string sid_info_format_string(const SidInfoHandle* info) {
    const char* text = info ? info->formatString() : nullptr;
    return text ? text : "";
}

std::string sid_info_status_string(SidTuneHandle* tune) {
    const char* text = tune ? tune->statusString() : nullptr;
    return text ? text : "";
}

int sid_info_start_song(const SidInfoHandle* info) { return info ? static_cast<int>(info->startSong()) : -1; }
int sid_info_current_song(const SidInfoHandle* info) { return info ? static_cast<int>(info->currentSong()) : -1; }
int sid_info_song_speed(const SidInfoHandle* info) { return info ? info->songSpeed() : -1; }
int sid_info_clock_speed(const SidInfoHandle* info) { return info ? static_cast<int>(info->clockSpeed()) : -1; }
int sid_info_number_of_info_strings(const SidInfoHandle* info) {
    return info ? static_cast<int>(info->numberOfInfoStrings()) : -1;
}
std::string sid_info_info_string(const SidInfoHandle* info, int i) {
    if (!info || i < 0 || i >= static_cast<int>(info->numberOfInfoStrings())) return "";
    const char* text = info->infoString(static_cast<unsigned int>(i));
    return text ? text : "";
}

}  // namespace music
