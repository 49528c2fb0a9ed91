#include "framework/highscore.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/errors.h"
#include "framework/user_file.h"
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

void PutInt(std::string& out, int v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 255));
}

int GetInt(const std::vector<std::uint8_t>& in, std::size_t pos) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(in[pos + i]) << (8 * i);
    return static_cast<int>(u);
}

// A file that begins with a byte-order mark of UTF-8 or UTF-16 is text.
bool StartsWithTextMark(const std::vector<std::uint8_t>& b) {
    return (b.size() >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) ||
           (b.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF);
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
    Unreadable = false;
    plat::UserFileRead file = plat::ReadUserFile(filepath, MaxScoreFileBytes);
    if (file.state == plat::UserFileRead::UNREADABLE) {
        // The player's table is still there: it is shown again once it can
        // be read, and nothing is saved over it meanwhile.
        Unreadable = true;
        ReportUnreadableFile(filepath, file.reason);
        CreateDefault();
        return Count();
    }
    if (file.state == plat::UserFileRead::MISSING) {
        CreateDefault();
        return Count();
    }
    const std::vector<std::uint8_t>& bytes = file.bytes;

    std::vector<std::string> damage;
    if (file.larger) damage.push_back("larger than " + std::to_string(MaxScoreFileBytes) + " bytes");
    int invalid = 0;
    std::size_t pos = 0;
    if (StartsWithTextMark(bytes)) {
        damage.push_back("a text file, not a table");
        pos = bytes.size();
    }
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
        // Only what the game could have written is shown: a name of
        // printable text and a score of 0 or more.  A player may confirm an
        // empty name, but not for no score: a blank row of 0 is zeros.
        const bool text = std::all_of(name.begin(), name.end(), [](char c) { return c >= 32 && c <= 126; });
        const bool blank = name.empty() && score == 0;
        if (text && !blank && score >= 0) Add(name, score, level);
        else ++invalid;
    }
    if (invalid > 0)
        damage.insert(damage.begin(), std::to_string(invalid) +
                                          (invalid == 1 ? " row that is" : " rows that are") + " no name and score");
    if (Count() > TableRows) {
        // The table never holds more: the best rows stay, in the file's order.
        const int extra = Count() - TableRows;
        std::vector<plat::Ref<THighScore>> rows;
        for (const auto& row : *this) rows.push_back(row);
        std::vector<std::size_t> best(rows.size());
        for (std::size_t i = 0; i < best.size(); ++i) best[i] = i;
        std::stable_sort(best.begin(), best.end(),
                         [&rows](std::size_t a, std::size_t b) { return rows[a]->score > rows[b]->score; });
        best.resize(TableRows);
        std::sort(best.begin(), best.end());
        Clear();
        for (std::size_t i : best) AddLast(rows[i]);
        damage.push_back(std::to_string(extra) + (extra == 1 ? " row" : " rows") + " more than the table's " +
                         std::to_string(TableRows));
    }
    if (!damage.empty()) {
        std::string what;
        for (const std::string& d : damage) what += (what.empty() ? "" : ", ") + d;
        if (ReportDamagedFile(filepath, what)) Save();
    }
    return Count();
}

void THighScoreList::Save() {
    if (Unreadable) return;  // the player's file stays as it is
    std::string out;
    for (const auto& row : *this) {
        const std::size_t n = std::min<std::size_t>(row->name.size(), MaxStoredNameLength);
        for (std::size_t i = 0; i < n; ++i)
            out.push_back(static_cast<char>(EncodeNameChar(static_cast<unsigned char>(row->name[i]))));
        out.push_back('\0');
        PutInt(out, row->score);
        PutInt(out, row->level);
    }
    SaveUserFile(filepath, out, filepath);
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
