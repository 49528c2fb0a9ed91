#include "framework/game_text.h"

#include "framework/banks.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/ini.h"
#include "platform/core/text.h"
#include "platform/io/stream.h"
#include "platform/sys/system.h"

namespace fw {

// --- TGameText -----------------------------------------------------------------------

plat::Ref<TGameText> TGameText::Create(const std::string& file) {
    auto text = plat::New<TGameText>();
    text->Read(file);
    return text;
}

void TGameText::Read(const std::string& file) {
    Texts.clear();
    const std::string path = (Game ? Game->TextPath : std::string()) + file;
    plat::CloseStream(OpenFileOrDie(path));
    const std::string whole = plat::LoadText(path);
    std::vector<std::string> lines;
    if (!whole.empty()) lines = SplitLines(whole);
    // The line feed that ends the last line starts no line of its own.
    if (!whole.empty() && whole.back() == '\n') lines.pop_back();

    int index = 0;
    while (index < static_cast<int>(lines.size())) {
        CheckIniHeader("TEXT", lines[static_cast<std::size_t>(index)]);
        ++index;
        std::vector<std::string> section = ReadSectionLines(lines, index);
        if (section.empty()) continue;
        const std::string key = plat::Upper(section.front());
        section.erase(section.begin());
        Texts[key] = std::move(section);
    }
}

std::vector<std::string> TGameText::Find(const std::string& key) const {
    const auto it = Texts.find(plat::Upper(key));
    return it == Texts.end() ? std::vector<std::string>{} : it->second;
}

std::string TGameText::FindString(const std::string& key) const {
    std::string joined;
    const std::vector<std::string> lines = Find(key);
    for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
    return joined;
}

// --- TValue, TValueList --------------------------------------------------------------

plat::Ref<TValue> TValue::Create(const std::string& name, int value) {
    auto v = plat::New<TValue>();
    v->name = name;
    v->value = value;
    return v;
}

void TValue::PrintValue() const { plat::Print(name + "=" + std::to_string(value)); }

plat::Ref<TValueList> TValueList::Create(const std::string& file) {
    auto list = plat::New<TValueList>();
    list->Read(file);
    return list;
}

void TValueList::AddTValue(const plat::Ref<TValue>& value) { AddLast(value); }

plat::Ref<TValue> TValueList::AddValue(const std::string& name, int value) {
    auto v = TValue::Create(name, value);
    AddLast(v);
    return v;
}

plat::Ref<TValue> TValueList::GetValueByIndex(int index) const {
    if (index < 0) return nullptr;
    for (const auto& v : *this)
        if (index-- == 0) return v;
    return nullptr;
}

plat::Ref<TValue> TValueList::GetValueByName(const std::string& name) const {
    for (const auto& v : *this)
        if (v && v->name == name) return v;
    return nullptr;
}

void TValueList::PrintList() const {
    for (const auto& v : *this)
        if (v) v->PrintValue();
}

void TValueList::Read(const std::string& file) {
    const auto in = OpenFileOrDie(file);
    while (!plat::Eof(in)) {
        const std::string line = plat::ReadLine(in);
        AddValue(IniKey(line), plat::ToInt(IniValue(line)));
    }
    plat::CloseStream(in);
}

}  // namespace fw
