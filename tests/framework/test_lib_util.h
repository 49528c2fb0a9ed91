#pragma once
// Small helpers shared by the framework library tests: a temporary folder,
// whole-file reads and writes, and a file-size limit that makes writes fail
// (for root too).

#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testlib {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "fwlib-XXXXXX").string();
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        const char* made = mkdtemp(buf.data());
        path_ = made ? made : "";
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder with a trailing slash.
    std::string Dir() const { return path_ + "/"; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // Names of the files in the folder.
    std::vector<std::string> Files() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            out.push_back(e.path().filename().string());
        return out;
    }

private:
    std::string path_;
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    const std::string s = ReadAll(path);
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

inline void WriteAll(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& data) {
    WriteAll(path, std::string(data.begin(), data.end()));
}

// While alive, no file can grow past `bytes`: writes beyond fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = saved_;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*old_handler_)(int) = nullptr;
};

// A little-endian PCM WAV of 16-bit mono samples.
inline std::vector<std::uint8_t> MakeWav(const std::vector<std::int16_t>& samples, int rate = 44100) {
    std::vector<std::uint8_t> out;
    auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 255));
    };
    auto tag = [&](const char* t) { out.insert(out.end(), t, t + 4); };
    const std::uint32_t data = static_cast<std::uint32_t>(samples.size() * 2);
    tag("RIFF");
    put(36 + data, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(static_cast<std::uint32_t>(rate), 4);
    put(static_cast<std::uint32_t>(rate * 2), 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(data, 4);
    for (std::int16_t s : samples) put(static_cast<std::uint16_t>(s), 2);
    return out;
}

}  // namespace testlib
