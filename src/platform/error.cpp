#include "error.h"

#include <system_error>

namespace velo::platform {

std::string reasonFor(int errorNumber) {
    return std::generic_category().message(errorNumber);
}

} // namespace velo::platform
