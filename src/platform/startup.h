#pragma once

#include <thread>

namespace velo::platform {

// Lets every thread allocate from the program's one heap. The toolkit's helper threads
// allocate little, and a heap of their own each holds more than they use. Called first,
// before any thread starts.
void useOneHeap();

// Reads the system's font configuration on a thread of its own while the toolkit starts.
// Reading it is the largest single step before the first window can lay out its text, and
// it needs nothing the toolkit sets up. Where the toolkit finds fonts another way, nothing
// is started.
class FontConfigLoad {
public:
    FontConfigLoad();
    // Joins the thread if wait() was not called.
    ~FontConfigLoad();
    FontConfigLoad(const FontConfigLoad&) = delete;
    FontConfigLoad& operator=(const FontConfigLoad&) = delete;

    // Returns once the configuration is read. Called before the first text is laid out, so
    // that the toolkit does not read the configuration a second time alongside.
    void wait();

private:
    std::thread thread_;
};

} // namespace velo::platform
