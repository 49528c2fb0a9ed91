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

// The most SID chips one engine plays at once.
int sid_max_chips();
// A reSID builder with `chips` chip emulations, its filter on and biased as
// the standard console player sets it; nullptr on failure.  The first
// builder of a program also builds the emulation's shared tables (a few
// hundred milliseconds and some 20 MiB), so no second builder may be made
// while that runs; later builders are quick.
SidBuilder* sid_builder_create(const char* name, int chips);
void sid_builder_release(SidBuilder* builder);

// An engine without chip emulations yet: it takes settings and tunes, and
// renders once it has a builder.  A PAL machine that starts every tune the
// same number of cycles after power-on, sampling with interpolation on the
// fast path; nullptr when the configuration is refused.
SidEngine* sid_player_create();
// Hands the engine its chip emulations (locked from the builder for as long
// as the engine keeps them; a loaded tune starts again).  1 accepted, 0 not
// or without either handle.
int sid_player_set_emulation(SidEngine* engine, SidBuilder* builder);
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
// Where the tune's code goes, as the library resolved it: the load address,
// the init address (0 for a tune started through BASIC) and the number of
// bytes loaded there; -1 without a record.
int sid_info_load_address(const SidInfoHandle* info);
int sid_info_init_address(const SidInfoHandle* info);
long sid_info_data_length(const SidInfoHandle* info);

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
