#pragma once

#include <cstdlib>
#include <string>

namespace velo::test {

// Sets this process's PATH for one test and puts the old value back afterwards.
class WithPath {
public:
    explicit WithPath(const std::string& value) {
        const char* old = std::getenv("PATH");
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        ::setenv("PATH", value.c_str(), 1);
    }
    ~WithPath() {
        if (had_) {
            ::setenv("PATH", old_.c_str(), 1);
        } else {
            ::unsetenv("PATH");
        }
    }
    WithPath(const WithPath&) = delete;
    WithPath& operator=(const WithPath&) = delete;

private:
    bool had_ = false;
    std::string old_;
};

} // namespace velo::test
