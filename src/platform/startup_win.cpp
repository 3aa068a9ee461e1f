#include "platform/startup.h"

namespace velo::platform {

// The system's heap is shared by every thread already.
void useOneHeap() {}

// The toolkit asks the system for its fonts here: there is no configuration to read ahead.
FontConfigLoad::FontConfigLoad() = default;

FontConfigLoad::~FontConfigLoad() = default;

void FontConfigLoad::wait() {}

} // namespace velo::platform
