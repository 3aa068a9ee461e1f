#include "lock.h"
#include "win_text.h"

#include <windows.h>

namespace velo::platform {

std::string lockFileFor(const std::string& path) {
    return path + ".lock";
}

FileLock::~FileLock() {
    release();
}

void FileLock::release() {
    if (handle_ != -1) {
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
        handle_ = -1;
    }
}

MaybeError FileLock::acquire(const std::string& lockFile, std::chrono::milliseconds wait) {
    release();
    const std::optional<std::wstring> name = win::wide(lockFile);
    if (!name) {
        return Error{lockFile, win::reasonFor(ERROR_NO_UNICODE_TRANSLATION)};
    }
    // Shared opens, so every writer reaches the lock; the lock is the handle's and goes
    // when it closes, also when its process is ended.
    const HANDLE file = CreateFileW(name->c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return win::lastError(lockFile);
    }
    OVERLAPPED whole{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                   &whole)) {
        handle_ = reinterpret_cast<std::intptr_t>(file);
        return std::nullopt;
    }
    if (GetLastError() != ERROR_LOCK_VIOLATION && GetLastError() != ERROR_IO_PENDING) {
        const DWORD code = GetLastError();
        CloseHandle(file);
        return Error{lockFile, win::reasonFor(code)};
    }
    const std::optional<long> code = waitAtMost(
        wait,
        [file]() -> long {
            OVERLAPPED all{};
            return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &all)
                       ? 0
                       : static_cast<long>(GetLastError());
        },
        [file] { CloseHandle(file); });
    if (!code) {
        return Error{lockFile, kLockedByAnother};
    }
    if (*code != 0) {
        CloseHandle(file);
        return Error{lockFile, win::reasonFor(static_cast<unsigned long>(*code))};
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return std::nullopt;
}

} // namespace velo::platform
