#include "framework/ini.h"

#include <vector>

#include "framework/errors.h"
#include "framework/user_file.h"
#include "platform/core/text.h"

namespace fw {

namespace {

// Every text line of a readable file; false when it is missing or cannot be
// read.
bool ReadAllLines(const std::string& path, std::vector<std::string>& lines) {
    UserText text = ReadUserText(path);
    if (text.state != plat::UserFileRead::READ) return false;
    lines = std::move(text.lines);
    return true;
}

}  // namespace

std::string IniKey(const std::string& line) {
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? line : line.substr(0, eq);
}

std::string IniValue(const std::string& line) {
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

void TIniFile::Add(const std::string& name, const std::string& value) {
    auto line = plat::New<TIniLine>();
    line->Name = plat::Upper(name);
    line->Value = value;
    AddLast(line);
}

std::string TIniFile::Text() const {
    std::string text;
    for (const auto& line : *this) text += line->Name + "=" + line->Value + "\r\n";
    return text;
}

void TIniFile::Save() {
    if (Unreadable) return;  // the player's file stays as it is
    SaveUserFile(Path(), Text(), Path());
}

void TIniFile::Load() {
    Read();
    Save();
}

bool TIniFile::Read() { return ReadFrom(Path()); }

bool TIniFile::ReadFrom(const std::string& path) {
    const UserText text = ReadUserText(path);
    Damage = text.damage;
    Unreadable = text.state == plat::UserFileRead::UNREADABLE;
    if (Unreadable) ReportUnreadableFile(path, text.reason);
    for (const std::string& raw : text.lines) {
        const std::string key = plat::Upper(IniKey(raw));
        const std::string value = IniValue(raw);
        for (const auto& line : *this)
            if (line->Name == key) line->Value = value;
    }
    return Damage.empty();
}

std::string IniReadValue(const std::string& path, const std::string& key) {
    // Read-only: a settings file or template without write permission still reads.
    std::vector<std::string> lines;
    if (!ReadAllLines(path, lines)) return "";
    const std::string wanted = plat::Upper(key);
    for (const std::string& text : lines)
        if (plat::Upper(IniKey(text)) == wanted) return IniValue(text);
    return "";
}

int ReplaceIniValue(const std::string& source, const std::string& target, const std::string& key,
                    const std::string& value) {
    std::vector<std::string> lines;
    if (!ReadAllLines(source, lines)) return 0;
    const std::string wanted = plat::Upper(key);
    plat::Ref<plat::TStream> out = plat::WriteStreamAtomic(target);
    if (!out) return 0;
    for (const std::string& text : lines) {
        const bool ok = plat::Upper(IniKey(text)) == wanted ? plat::WriteLine(out, wanted + "=" + value)
                                                            : plat::WriteLine(out, text);
        if (!ok) return 0;  // the uncommitted stream removes its temp file
    }
    return plat::CommitStream(out) ? 1 : 0;
}

bool WriteIniInt(const plat::Ref<plat::TStream>& stream, const std::string& key, int value) {
    return WriteIniString(stream, key, std::to_string(value));
}

bool WriteIniString(const plat::Ref<plat::TStream>& stream, const std::string& key,
                    const std::string& value) {
    if (!stream) return false;
    return plat::WriteLine(stream, plat::Upper(key) + "=" + value);
}

}  // namespace fw
