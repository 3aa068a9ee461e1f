#include "file.h"
#include "win_text.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace velo::platform {

namespace {

Error unrepresentable(const std::string& path) {
    return Error{path, win::reasonFor(ERROR_NO_UNICODE_TRANSLATION)};
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD put = 0;
        if (!WriteFile(file, bytes.data(), chunk, &put, nullptr)) {
            return false;
        }
        bytes.remove_prefix(put);
    }
    return true;
}

} // namespace

bool FileExists(const std::string& name) {
    const std::optional<std::wstring> path = win::wide(name);
    if (!path) {
        return false;
    }
    // Attributes name one entry exactly: no wildcard matching, and a link counts
    // whether or not its target is there.
    if (GetFileAttributesW(path->c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

FileRead readTextFile(const std::string& path) {
    FileRead result;
    const std::optional<std::wstring> name = win::wide(path);
    if (!name) {
        result.status = FileRead::Status::Failed;
        result.error = unrepresentable(path);
        return result;
    }
    Handle file(CreateFileW(name->c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
            result.status = FileRead::Status::Absent;
        } else {
            result.status = FileRead::Status::Failed;
            result.error = Error{path, win::reasonFor(code)};
        }
        return result;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            result.status = FileRead::Status::Failed;
            result.error = win::lastError(path);
            return result;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, got);
    }
    result.status = FileRead::Status::Ok;
    result.text = win::fromAnsi(bytes);
    return result;
}

MaybeError writeTextFileAtomic(const std::string& path, std::string_view text, bool) {
    const std::optional<std::wstring> target = win::wide(path);
    const std::optional<std::string> bytes = win::toAnsi(text);
    if (!target || !bytes) {
        return unrepresentable(path);
    }
    // Beside the target, so the rename stays on one volume.
    std::wstring temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = *target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(attempt) + L".tmp";
        created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE &&
            (GetLastError() != ERROR_FILE_EXISTS || attempt >= 100)) {
            return win::lastError(path);
        }
    }
    Handle file(created);
    const auto fail = [&](DWORD code) {
        file.close();
        DeleteFileW(temporary.c_str());
        return Error{path, win::reasonFor(code)};
    };
    if (!writeAll(file.get(), *bytes) || !FlushFileBuffers(file.get())) {
        return fail(GetLastError());
    }
    if (!file.close()) {
        return fail(GetLastError());
    }
    if (!MoveFileExW(temporary.c_str(), target->c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return fail(GetLastError());
    }
    return std::nullopt;
}

} // namespace velo::platform
