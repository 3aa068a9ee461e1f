#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace velo::test {

// A fresh, empty folder under the system's temporary directory, removed with all it
// holds when the object goes out of scope.
class TempDir {
public:
    TempDir() {
        std::random_device seed;
        path_ =
            std::filesystem::temp_directory_path() /
            ("velo-test-" + std::to_string(std::uniform_int_distribution<std::uint64_t>()(seed)));
        if (!std::filesystem::create_directory(path_)) {
            throw std::runtime_error("cannot create the temporary folder " + path_.string());
        }
    }

    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // The native path of name inside the folder.
    std::string file(std::string_view name) const { return (path_ / name).string(); }

    void write(std::string_view name, std::string_view bytes) const {
        std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + file(name));
        }
    }

    std::string read(std::string_view name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        if (!in) {
            throw std::runtime_error("cannot read " + file(name));
        }
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path path_;
};

// The names of what folder holds, sorted: what a test expects to be left behind.
inline std::vector<std::string> entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace velo::test
