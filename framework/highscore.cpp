#include "framework/highscore.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/errors.h"
#include "platform/io/stream.h"

namespace fw {

namespace {

struct DefaultRow {
    const char* name;
    int score;
    int level;
};

constexpr DefaultRow kDefaultTable[] = {
    {"RAV", 10000, 8}, {"MEL", 9000, 7},  {"DUBO", 8000, 6}, {"PANTO", 7000, 5},
    {"WELM", 6000, 4}, {"SIV", 5000, 3},  {"DAX", 4000, 2},  {"QUORB", 3000, 1},
};

std::uint8_t EncodeNameChar(unsigned char c) {
    std::uint8_t b = static_cast<std::uint8_t>((c - NameShift) & 255);
    // A character that would write the terminator is stored as a blank.
    if (b == 0) b = static_cast<std::uint8_t>((' ' - NameShift) & 255);
    return b;
}

char DecodeNameByte(std::uint8_t b) { return static_cast<char>((b + NameShift) & 255); }

void PutInt(std::vector<std::uint8_t>& out, int v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((u >> (8 * i)) & 255));
}

int GetInt(const std::vector<std::uint8_t>& in, std::size_t pos) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(in[pos + i]) << (8 * i);
    return static_cast<int>(u);
}

}  // namespace

void THighScoreList::Create(const std::string& name, int maxNameLength) {
    Clear();
    filepath = name + ".dat";
    MaxNameLength = maxNameLength;
}

void THighScoreList::Add(const std::string& name, int score, int level) {
    AddLast(plat::New<THighScore>(name, score, level));
}

void THighScoreList::Insert(const std::string& name, int score, int level) {
    auto row = plat::New<THighScore>(name, score, level);
    for (auto it = begin(); it != end(); ++it) {
        if ((*it)->score <= score) {
            InsertBeforeLink(row, it.link());
            return;
        }
    }
    AddLast(row);
}

int THighScoreList::Load() {
    Clear();
    plat::Ref<plat::TStream> in = plat::ReadStream(filepath);
    if (!in) {
        CreateDefault();
        return Count();
    }
    // One byte more than the cap tells a file that is too large.
    std::vector<std::uint8_t> bytes(MaxScoreFileBytes + 1);
    bytes.resize(static_cast<std::size_t>(std::max(0, plat::ReadBytes(in, bytes.data(), MaxScoreFileBytes + 1))));
    plat::CloseStream(in);

    std::vector<std::string> damage;
    if (bytes.size() > MaxScoreFileBytes) {
        damage.push_back("larger than " + std::to_string(MaxScoreFileBytes) + " bytes");
        bytes.resize(MaxScoreFileBytes);
    }
    int invalid = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::string name;
        std::size_t p = pos;
        while (p < bytes.size() && bytes[p] != 0 && name.size() < MaxStoredNameLength)
            name += DecodeNameByte(bytes[p++]);
        // A record needs its terminator and both Ints; anything short of that
        // is where the file was cut or damaged.
        if (p >= bytes.size() || bytes[p] != 0 || p + 1 + 8 > bytes.size()) {
            const int rows = Count() + invalid;
            damage.push_back("cut or damaged after " + std::to_string(rows) + (rows == 1 ? " row" : " rows"));
            break;
        }
        const int score = GetInt(bytes, p + 1);
        const int level = GetInt(bytes, p + 5);
        pos = p + 9;
        // Only what the game could have written is shown.
        const bool text = std::all_of(name.begin(), name.end(), [](char c) { return c >= 32 && c <= 126; });
        if (text && score >= 0) Add(name, score, level);
        else ++invalid;
    }
    if (invalid > 0)
        damage.insert(damage.begin(), std::to_string(invalid) +
                                          (invalid == 1 ? " row that is" : " rows that are") + " no name and score");
    if (!damage.empty()) {
        std::string what;
        for (const std::string& d : damage) what += (what.empty() ? "" : ", ") + d;
        if (ReportDamagedFile(filepath, what)) Save();
    }
    return Count();
}

void THighScoreList::Save() {
    std::vector<std::uint8_t> out;
    for (const auto& row : *this) {
        const std::size_t n = std::min<std::size_t>(row->name.size(), MaxStoredNameLength);
        for (std::size_t i = 0; i < n; ++i)
            out.push_back(EncodeNameChar(static_cast<unsigned char>(row->name[i])));
        out.push_back(0);
        PutInt(out, row->score);
        PutInt(out, row->level);
    }
    if (!plat::SaveBytesAtomic(filepath, out)) ReportError("Failed to save file " + filepath, 1);
}

void THighScoreList::CreateDefault() {
    for (const DefaultRow& row : kDefaultTable) Add(row.name, row.score, row.level);
    Save();
}

void THighScoreList::Zero(int count) {
    Clear();
    for (int i = 0; i < count; ++i) Add("Empty", 0, 0);
    Save();
}

}  // namespace fw
