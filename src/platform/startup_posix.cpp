#include "platform/startup.h"

#include <fontconfig/fontconfig.h>
#include <malloc.h>

namespace velo::platform {

void useOneHeap() {
    ::mallopt(M_ARENA_MAX, 1);
}

// The configuration read here becomes the library's current one, which the toolkit uses.
FontConfigLoad::FontConfigLoad()
    : thread_([] {
          ::FcInit();
          // Hands back the pages that reading the files left free.
          ::malloc_trim(0);
      }) {}

FontConfigLoad::~FontConfigLoad() {
    wait();
}

void FontConfigLoad::wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace velo::platform
