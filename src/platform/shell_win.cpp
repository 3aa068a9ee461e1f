#include "shell.h"
#include "win_text.h"

#include <windows.h>

#include <shellapi.h>

namespace velo::platform {

bool shellOpen(const std::string& address) {
    const std::optional<std::wstring> target = win::wide(address);
    if (!target) {
        return false;
    }
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", target->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success; SE_ERR_NOASSOC says no program is set up for it.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace velo::platform
