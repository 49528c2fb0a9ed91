#pragma once
// The music source for uncompressed PCM WAV files: samples are read straight
// from the open file as a stream asks for them.

#include <string>

#include "music/music.h"
#include "platform/io/stream.h"

namespace music {

class TWavStream : public TMusic {
public:
    Ref<plat::TStream> stream;
    int samples = 0;   // kept for the record layout; not used
    int size = 0;      // kept for the record layout; not used
    int loopseek = 0;  // stream position of the first sample

    // nullptr when the source cannot be opened or is not a supported WAV
    // (PCM, 8 or 16 bits, mono or stereo).
    static Ref<TWavStream> Load(const MusicSource& source);

    void Free() override;
    // At the end of the data a looping source goes on from its first sample
    // until the buffer is full; a non-looping one ends (PlayStatus 0, rewound)
    // and fills the rest with silence.
    int FillBuffer(void* buffer, int length) override;
    // Back to the first sample.
    void Stop();
};

// Four bytes as text; "" when fewer than 4 could be read.
std::string ReadChunkId(const Ref<plat::TStream>& stream);

Ref<TMusic> LoadWavMusic(const MusicSource& source);

// The loader's name in file filters.
extern const char* const kWavLoaderName;

}  // namespace music
