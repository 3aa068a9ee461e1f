#include "file.h"
#include "win_text.h"

#include <windows.h>

#include <aclapi.h>

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

// Whether this user (or the owner its new files get) owns the file.
bool ownedByUs(const std::wstring& path) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    bool ours = false;
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        for (const TOKEN_INFORMATION_CLASS kind : {TokenUser, TokenOwner}) {
            alignas(TOKEN_USER) unsigned char buffer[512];
            DWORD size = 0;
            if (GetTokenInformation(token, kind, buffer, sizeof buffer, &size)) {
                const PSID sid = kind == TokenUser ? reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid
                                                   : reinterpret_cast<TOKEN_OWNER*>(buffer)->Owner;
                ours = ours || EqualSid(owner, sid);
            }
        }
        CloseHandle(token);
    }
    LocalFree(descriptor);
    return ours;
}

// A file that starts with the UTF-8 byte order mark is in UTF-8, not the code page, and is
// written back so.
bool isMarkedUtf8(std::string_view bytes) {
    return bytes.substr(0, 3) == "\xEF\xBB\xBF";
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

std::string existingSpelling(const std::string& folder) {
    return folder;
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
    result.text = isMarkedUtf8(bytes) ? std::move(bytes) : win::fromAnsi(bytes);
    return result;
}

std::string temporaryFileFor(const std::string& path) {
    return path + ".velo-new";
}

MaybeError writeTextFileAtomic(const std::string& path, std::string_view text, bool) {
    const std::optional<std::wstring> named = win::wide(path);
    const std::optional<std::string> bytes =
        isMarkedUtf8(text) ? std::optional<std::string>(text) : win::toAnsi(text);
    if (!named || !bytes) {
        return unrepresentable(path);
    }
    // Through a link (or other reparse point) to the file it names, so the link stays.
    std::string targetPath = path;
    std::wstring target = *named;
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        Handle linked(CreateFileW(target.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        std::wstring resolved(32768, L'\0');
        const DWORD length = linked.valid()
                                 ? GetFinalPathNameByHandleW(linked.get(), resolved.data(),
                                                             static_cast<DWORD>(resolved.size()),
                                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS)
                                 : 0;
        if (length == 0 || length >= resolved.size()) {
            return win::lastError(path);
        }
        resolved.resize(length);
        target = resolved;
        targetPath = win::utf8(target);
    }
    // A read-only file (by attribute or by its permissions) refuses the write it would
    // otherwise lose to the rename.
    const DWORD targetAttributes = GetFileAttributesW(target.c_str());
    if (targetAttributes != INVALID_FILE_ATTRIBUTES) {
        if ((targetAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return Error{path, win::reasonFor(ERROR_ACCESS_DENIED)};
        }
        Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.valid()) {
            return win::lastError(path);
        }
    }
    // Beside the target, so the rename stays on one volume; one fixed name, so crashes
    // leave at most this one file. A stale one is removed only when it is plainly ours.
    const std::string temporaryPath = temporaryFileFor(targetPath);
    const std::wstring temporary = target + L".velo-new";
    const DWORD stale = GetFileAttributesW(temporary.c_str());
    if (stale != INVALID_FILE_ATTRIBUTES) {
        if ((stale & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
            !ownedByUs(temporary)) {
            return Error{temporaryPath, win::reasonFor(ERROR_FILE_EXISTS)};
        }
        if (!DeleteFileW(temporary.c_str())) {
            return win::lastError(temporaryPath);
        }
    }
    Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD code = GetLastError();
        return Error{code == ERROR_FILE_EXISTS ? temporaryPath : path, win::reasonFor(code)};
    }
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
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return fail(GetLastError());
    }
    return std::nullopt;
}

} // namespace velo::platform
