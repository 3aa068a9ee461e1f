#include "win_text.h"

#include <windows.h>

namespace velo::platform::win {

namespace {

int lengthOf(std::size_t size) {
    return static_cast<int>(size);
}

std::optional<std::wstring> toWide(unsigned codePage, DWORD flags, std::string_view text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int need =
        MultiByteToWideChar(codePage, flags, text.data(), lengthOf(text.size()), nullptr, 0);
    if (need <= 0) {
        return std::nullopt;
    }
    std::wstring out(static_cast<std::size_t>(need), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), lengthOf(text.size()), out.data(), need);
    return out;
}

std::optional<std::string> fromWide(unsigned codePage, std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    // The lost-character flag is refused for UTF-8 (a system set to it loses nothing).
    const bool utf = codePage == CP_UTF8;
    const DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lost = FALSE;
    BOOL* lostFlag = utf ? nullptr : &lost;
    const int need = WideCharToMultiByte(codePage, flags, text.data(), lengthOf(text.size()),
                                         nullptr, 0, nullptr, lostFlag);
    if (need <= 0 || lost) {
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(need), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), lengthOf(text.size()), out.data(), need,
                        nullptr, nullptr);
    return out;
}

} // namespace

std::optional<std::wstring> wide(std::string_view utf8Text) {
    return toWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Text);
}

std::string utf8(std::wstring_view text) {
    return fromWide(CP_UTF8, text).value_or(std::string());
}

std::string fromAnsi(std::string_view bytes) {
    if (GetACP() == CP_UTF8) {
        return std::string(bytes);
    }
    return utf8(toWide(CP_ACP, 0, bytes).value_or(std::wstring()));
}

std::optional<std::string> toAnsi(std::string_view utf8Text) {
    const std::optional<std::wstring> text = wide(utf8Text);
    if (!text) {
        return std::nullopt;
    }
    return fromWide(GetACP(), *text);
}

std::string reasonFor(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "system error " + std::to_string(code);
    }
    return utf8(text);
}

Error lastError(const std::string& subject) {
    return Error{subject, reasonFor(GetLastError())};
}

} // namespace velo::platform::win
