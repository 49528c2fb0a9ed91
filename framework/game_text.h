#pragma once
// Two readers of plain-text data for games built on the framework.
//
// TGameText holds named texts of several lines (dialogue, help pages) read
// from a file in the shell's text folder made of sections:
//     [TEXT]
//     name of the text
//     its lines, up to the next line that begins with "[" or the end
// Names are found regardless of case.
//
// TValueList holds named whole numbers read from NAME=value lines; names
// are found exactly as written.

#include <map>
#include <string>
#include <vector>

#include "platform/core/list.h"
#include "platform/core/object.h"

namespace fw {

class TGameText : public plat::Object {
public:
    static plat::Ref<TGameText> Create(const std::string& file);
    // Replaces what was read before with the texts of Game->TextPath + file
    // (any encoding the whole-text reader takes).  A missing file is
    // reported ("Error loading file " + path), and so is a section that
    // does not start with "[TEXT]" ("[TEXT] header hot found"); both end
    // the program.  A section with no name line is skipped; a later text
    // of the same name replaces the earlier one.
    virtual void Read(const std::string& file);
    // The lines of the text, none when there is no such text.
    virtual std::vector<std::string> Find(const std::string& key) const;
    // Those lines joined by CR LF ("" when none).
    virtual std::string FindString(const std::string& key) const;
    int Count() const { return static_cast<int>(Texts.size()); }

    std::map<std::string, std::vector<std::string>> Texts;  // by upper-cased name
};

class TValue : public plat::Object {
public:
    std::string name;
    int value = 0;

    static plat::Ref<TValue> Create(const std::string& name, int value);
    // NAME=value on the standard output.
    void PrintValue() const;
};

class TValueList : public plat::TList<TValue> {
public:
    // Reads `file` (the path as given); a missing file is reported
    // ("Error loading file " + path), ending the program.
    static plat::Ref<TValueList> Create(const std::string& file);
    virtual void AddTValue(const plat::Ref<TValue>& value);
    virtual plat::Ref<TValue> AddValue(const std::string& name, int value);
    // 0-based; nullptr outside the list.
    virtual plat::Ref<TValue> GetValueByIndex(int index) const;
    // The first of that exact name; nullptr when none.
    virtual plat::Ref<TValue> GetValueByName(const std::string& name) const;
    virtual void PrintList() const;
    // Appends an entry for every line: the text before the first "=" and
    // the number after it.
    virtual void Read(const std::string& file);
};

}  // namespace fw
