#pragma once
// A temporary folder for one test, removed with everything in it afterwards.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testutil {

class TempDir {
public:
    TempDir() {
        std::string templ = (std::filesystem::temp_directory_path() / "velmarok-test-XXXXXX").string();
        char* made = mkdtemp(templ.data());
        path_ = made ? made : "";
    }
    ~TempDir() {
        std::error_code ec;
        // Folders made read-only by a test must be writable again to go.
        for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
            if (e.is_directory(ec)) std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                                                  std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

    // Writes a file (making its folders) with the given bytes.
    void Put(const std::string& rel, const std::string& bytes) const {
        std::filesystem::path p = path_ + "/" + rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }
    void MakeDir(const std::string& rel) const { std::filesystem::create_directories(path_ + "/" + rel); }

private:
    std::string path_;
};

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_) setenv(name_.c_str(), old_.c_str(), 1);
        else unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_, old_;
    bool had_ = false;
};

}  // namespace testutil
