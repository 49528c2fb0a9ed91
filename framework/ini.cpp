#include "framework/ini.h"

#include <vector>

#include "framework/errors.h"
#include "platform/core/text.h"

namespace fw {

namespace {

// Every line of a readable file; false when it cannot be opened.
bool ReadAllLines(const std::string& path, std::vector<std::string>& lines) {
    plat::Ref<plat::TStream> in = plat::ReadStream(path);
    if (!in) return false;
    while (!plat::Eof(in)) lines.push_back(plat::ReadLine(in));
    plat::CloseStream(in);
    return true;
}

}  // namespace

bool IsTextLine(const std::string& line) {
    for (unsigned char c : line)
        if (c < 32 && c != '\t' && c != '\r') return false;
    return true;
}

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

void TIniFile::Save() {
    const std::string path = Path();
    plat::Ref<plat::TStream> out = plat::WriteStreamAtomic(path);
    bool ok = out != nullptr;
    if (ok) {
        for (const auto& line : *this)
            if (!plat::WriteLine(out, line->Name + "=" + line->Value)) ok = false;
        // Commit only a complete file; a dropped stream removes its temp file.
        ok = ok && plat::CommitStream(out);
    }
    if (!ok) ReportError("Failed to save file " + path, 1);
}

void TIniFile::Load() {
    Read();
    Save();
}

bool TIniFile::Read() {
    std::vector<std::string> lines;
    if (!ReadAllLines(Path(), lines)) return true;
    bool text = true;
    for (const std::string& raw : lines) {
        text = text && IsTextLine(raw);
        const std::string key = plat::Upper(IniKey(raw));
        const std::string value = IniValue(raw);
        for (const auto& line : *this)
            if (line->Name == key) line->Value = value;
    }
    return text;
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
