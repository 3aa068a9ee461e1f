#pragma once

// Windows only: the program's strings are UTF-8; the wide API takes UTF-16 and the
// files hold the ANSI code page.

#include "error.h"

#include <optional>
#include <string>
#include <string_view>

namespace velo::platform::win {

// UTF-8 to UTF-16; nullopt for bytes that are no UTF-8.
std::optional<std::wstring> wide(std::string_view utf8);

std::string utf8(std::wstring_view text);

// File bytes in the ANSI code page to the program's UTF-8.
std::string fromAnsi(std::string_view bytes);

// UTF-8 to the ANSI code page; nullopt when a character has no place in it, since a
// stand-in character would silently change a path or a name.
std::optional<std::string> toAnsi(std::string_view utf8);

// The system's words for a Win32 error code.
std::string reasonFor(unsigned long code);

// subject and the reason for GetLastError().
Error lastError(const std::string& subject);

} // namespace velo::platform::win
