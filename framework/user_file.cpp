#include "framework/user_file.h"

#include <algorithm>

#include "framework/errors.h"
#include "platform/sys/system.h"

namespace fw {

namespace {

bool IsTextLine(const std::string& line) {
    return std::none_of(line.begin(), line.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 32 && u != '\t';
    });
}

}  // namespace

UserText SplitUserText(const std::vector<std::uint8_t>& bytes) {
    UserText text;
    bool allText = true;
    std::string line;
    auto endLine = [&] {
        if (IsTextLine(line)) text.lines.push_back(line);
        else allText = false;
        line.clear();
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\n') {
            endLine();
        } else if (c == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            endLine();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) endLine();
    if (!allText) text.damage = "not a text file";
    return text;
}

UserText ReadUserText(const std::string& path) {
    const plat::UserFileRead file = plat::ReadUserFile(path, MaxUserTextBytes);
    UserText text;
    if (file.state == plat::UserFileRead::READ) text = SplitUserText(file.bytes);
    text.state = file.state;
    text.reason = file.reason;
    if (file.larger) {
        const std::string larger = "larger than " + std::to_string(MaxUserTextBytes) + " bytes";
        text.damage = text.damage.empty() ? larger : text.damage + ", " + larger;
    }
    return text;
}

void ReportUnreadableFile(const std::string& path, const std::string& reason) {
    const std::string message =
        path + " cannot be read (" + reason + "): the defaults are used and the file is left as it is";
    plat::PrintError(message);
    AppendErrorLog(message);
}

void SaveUserFile(const std::string& path, const std::string& bytes, const std::string& shownName) {
    const plat::UserFileRead now = plat::ReadUserFile(path, bytes.size());
    if (now.state == plat::UserFileRead::READ && !now.larger &&
        std::equal(now.bytes.begin(), now.bytes.end(), bytes.begin(), bytes.end()))
        return;  // nothing to save: a full disk need not stop anything
    std::string reason;
    if (!plat::SaveTextAtomic(path, bytes, &reason))
        ReportError("Failed to save file " + shownName + " (" + reason + ")", 1);
}

}  // namespace fw
