#pragma once
// The thin layer through which the SID source reaches the SID player library
// (libsidplayfp and its reSID builder).  Every function accepts a missing
// handle and then returns the value noted.

#include <cstdint>
#include <string>

class ReSIDBuilder;
class sidplayfp;
class SidTune;
class SidTuneInfo;

namespace music {

using SidBuilder = ReSIDBuilder;
using SidEngine = sidplayfp;
using SidTuneHandle = SidTune;
using SidInfoHandle = SidTuneInfo;

// The library's clock speeds: 0 the tune's own, 1 PAL, 2 NTSC.
enum SidClockSpeed { SID_CLOCK_CORRECT = 0, SID_CLOCK_PAL = 1, SID_CLOCK_NTSC = 2 };

SidBuilder* sid_builder_create(const char* name);  // nullptr on failure
void sid_builder_release(SidBuilder* builder);

// An engine with as many SID emulations as it can use, sampling with
// interpolation on the fast path; nullptr when the configuration is refused.
SidEngine* sid_player_create(SidBuilder* builder);
int sid_player_set_frequency(SidEngine* engine, int rate);       // 1 accepted, 0 not
int sid_player_set_precision(SidEngine* engine, int bits);       // only 16 bits exist
int sid_player_set_playback(SidEngine* engine, int channels);    // 1 mono, 2 stereo
int sid_player_set_clock_speed(SidEngine* engine, int speed);    // SidClockSpeed
void sid_player_destroy(SidEngine* engine);
int sid_player_load(SidEngine* engine, SidTuneHandle* tune);     // 0 ok; -1 error or no engine
// Renders `length` bytes (whole 16-bit samples); the bytes rendered, -1
// without an engine.
int sid_player_play(SidEngine* engine, void* buffer, int length);

SidTuneHandle* sid_tune_create(const char* name);
void sid_tune_destroy(SidTuneHandle* tune);
int sid_tune_read(SidTuneHandle* tune, const std::uint8_t* data, int length);  // 1 valid tune, else 0
int sid_tune_select_song(SidTuneHandle* tune, int song);  // the song selected; -1 without a tune
const SidInfoHandle* sid_tune_get_info(SidTuneHandle* tune);  // nullptr without a tune
int sid_info_songs(const SidInfoHandle* info);                 // 0 without a record

// Present in the glue, unused by the game.
int sid_player_stop(SidEngine* engine);                          // -1 without an engine
int sid_player_fast_forward(SidEngine* engine, int percent);     // -1 without an engine
int sid_player_time(SidEngine* engine);                          // seconds; -1 without an engine
std::string sid_player_error(SidEngine* engine);                 // "" without an engine
int sid_tune_load(SidTuneHandle* tune, const char* file);        // 1 valid; -1 without a tune
int sid_tune_is_stereo(SidTuneHandle* tune);                     // 0 without a tune
std::string sid_player_speed_string(SidEngine* engine);           // "" without an engine
std::string sid_info_format_string(const SidInfoHandle* info);
std::string sid_info_status_string(SidTuneHandle* tune);
int sid_info_start_song(const SidInfoHandle* info);              // -1 without a record
int sid_info_current_song(const SidInfoHandle* info);            // -1 without a record
int sid_info_song_speed(const SidInfoHandle* info);              // -1 without a record
int sid_info_clock_speed(const SidInfoHandle* info);             // -1 without a record
int sid_info_number_of_info_strings(const SidInfoHandle* info);  // -1 without a record
std::string sid_info_info_string(const SidInfoHandle* info, int i);  // "" outside 0..count-1

}  // namespace music
