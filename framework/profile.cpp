#include "framework/profile.h"

#include <algorithm>
#include <cstdint>

#include "framework/errors.h"
#include "framework/game.h"
#include "platform/core/error.h"

namespace fw {

std::function<void(TProfile&)> ProfileCreateFunction;

namespace {

constexpr std::uint32_t kScrambleBase = 5920317u;
constexpr std::uint32_t kScrambleStep = 3187402u;

// Field i of the five scrambled Ints, as stored and back; unsigned, so the
// sums wrap at 32 bits as the file expects.
int Scramble(int value, std::uint32_t i) {
    return static_cast<int>(static_cast<std::uint32_t>(value) + i * kScrambleStep + kScrambleBase);
}

int Unscramble(int stored, std::uint32_t i) {
    return static_cast<int>(static_cast<std::uint32_t>(stored) - i * kScrambleStep - kScrambleBase);
}

}  // namespace

bool IsSafeProfileName(const std::string& name) {
    if (name.empty() || name.find("..") != std::string::npos) return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32;
    });
}

plat::Ref<TProfile> TProfile::Create(const std::string& name) {
    auto profile = plat::New<TProfile>();
    profile->Init(name);
    if (ProfileCreateFunction) ProfileCreateFunction(*profile);
    return profile;
}

void TProfile::Init(const std::string& name) {
    Name = name;
    CurrentLevel = 1;
    LockedLevel = 2;
    Score = 0;
    Lives = 3;
    Kills = 0;
    TimeTaken = 0;
    Difficulty = 0;
    TipsFlag = 1;
    InstructionsFlag = 1;
    ClearHints();
}

void TProfile::ClearHints() { HintsShown.fill(0); }

void TProfile::HintsSet(int value) { HintsShown.fill(value); }

int TProfile::ShowHint(int index, int save) {
    if (index < 0 || index >= MAX_HINTS) return 0;
    int& shown = HintsShown[static_cast<std::size_t>(index)];
    if (shown) return 0;
    shown = 1;
    if (save) Save();
    return 1;
}

std::string TProfile::Path() const { return (Game ? Game->ProfilePath : std::string()) + Name + ".dat"; }

int TProfile::Save() {
    const std::string path = Path();
    bool written = false;
    // A name that is no file name inside the profiles folder is never
    // written; it is reported like any file that cannot be created.
    if (auto out = IsSafeProfileName(Name) ? plat::WriteStreamAtomic(path) : nullptr) {
        try {
            const int scrambled[] = {CurrentLevel, LockedLevel, Score, Lives, Kills};
            for (std::uint32_t i = 0; i < 5; ++i) plat::WriteInt(out, Scramble(scrambled[i], i));
            plat::WriteDouble(out, TimeTaken);
            for (int v : {Difficulty, TipsFlag, InstructionsFlag}) plat::WriteInt(out, v);
            for (int v : HintsShown) plat::WriteInt(out, v);
            if (SaveUserFunction) SaveUserFunction(out);
            written = plat::CommitStream(out);
        } catch (const plat::WriteError&) {
            // Dropped uncommitted below: the old file stays.
        }
    }
    if (!written) {
        ReportError("Could not create file '" + path + "'", 1);
        return 0;
    }
    return 1;
}

int TProfile::Load() {
    if (!IsSafeProfileName(Name)) return 0;
    const std::string path = Path();
    auto in = plat::ReadStream(path);
    if (!in) {
        Save();
        return 0;
    }
    // A damaged file is kept beside as ".bad" and replaced by one with the
    // values the profile holds.
    auto damaged = [&](const std::string& what) {
        plat::CloseStream(in);
        if (ReportDamagedFile(path, what)) Save();
        return 0;
    };
    const long long size = plat::StreamSize(in);
    if (size < FixedPartBytes)
        return damaged("shorter than the " + std::to_string(FixedPartBytes) + " bytes of a profile");

    int scrambled[5] = {};
    for (std::uint32_t i = 0; i < 5; ++i) scrambled[i] = Unscramble(plat::ReadInt(in), i);
    CurrentLevel = scrambled[0];
    LockedLevel = scrambled[1];
    Score = scrambled[2];
    Lives = scrambled[3];
    Kills = scrambled[4];
    TimeTaken = plat::ReadDouble(in);
    Difficulty = plat::ReadInt(in);
    TipsFlag = plat::ReadInt(in);
    InstructionsFlag = plat::ReadInt(in);
    ClearHints();
    // Only whole entries: a file cut inside one leaves it and the rest 0.
    const long long hints = std::min<long long>(MAX_HINTS, (size - FixedPartBytes) / 4);
    for (long long i = 0; i < hints; ++i) HintsShown[static_cast<std::size_t>(i)] = plat::ReadInt(in);
    if (LoadUserFunction) {
        try {
            LoadUserFunction(in);
        } catch (const plat::ReadError&) {
            return damaged("the game's data after the record is cut short");
        }
    }
    plat::CloseStream(in);
    return 1;
}

}  // namespace fw
