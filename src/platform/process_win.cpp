#include "process.h"
#include "win_text.h"

#include <windows.h>

#include <vector>

namespace velo::platform {

namespace {
// The handles a started game gets: the null device as its input, and inheritable copies of
// where the launcher's output goes. Only these are handed over.
class StandardHandles {
public:
    StandardHandles() {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        input_ = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                             OPEN_EXISTING, 0, nullptr);
        output_ = inheritable(GetStdHandle(STD_OUTPUT_HANDLE));
        error_ = inheritable(GetStdHandle(STD_ERROR_HANDLE));
    }
    ~StandardHandles() {
        for (const HANDLE handle : {input_, output_, error_}) {
            if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
                CloseHandle(handle);
            }
        }
    }
    StandardHandles(const StandardHandles&) = delete;
    StandardHandles& operator=(const StandardHandles&) = delete;

    bool opened() const { return input_ != INVALID_HANDLE_VALUE; }

    // Fills startup's handles and lists them in attributes, which must outlive the start.
    bool handTo(STARTUPINFOEXW& startup, std::vector<unsigned char>& attributes) {
        startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = input_;
        startup.StartupInfo.hStdOutput = output_;
        startup.StartupInfo.hStdError = error_;
        for (const HANDLE handle : {input_, output_, error_}) {
            if (handle != nullptr) {
                listed_.push_back(handle);
            }
        }
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        attributes.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) {
            return false;
        }
        startup.lpAttributeList = list;
        return UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, listed_.data(),
                                         listed_.size() * sizeof(HANDLE), nullptr, nullptr) != 0;
    }

private:
    static HANDLE inheritable(HANDLE handle) {
        HANDLE copy = nullptr;
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
            !DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                             DUPLICATE_SAME_ACCESS)) {
            return nullptr;
        }
        return copy;
    }

    HANDLE input_ = INVALID_HANDLE_VALUE;
    HANDLE output_ = nullptr;
    HANDLE error_ = nullptr;
    std::vector<HANDLE> listed_;
};
} // namespace

bool shellScriptsRun() {
    return false;
}

MaybeError startGame(const LaunchPlan& plan, GameProcess* watch) {
    const std::optional<std::wstring> application = win::wide(plan.program);
    std::optional<std::wstring> commandLine = win::wide(plan.commandLine);
    const std::optional<std::wstring> workingDir = win::wide(plan.workingDir);
    if (!application || !commandLine || !workingDir) {
        return Error{plan.program, win::reasonFor(ERROR_NO_UNICODE_TRANSLATION)};
    }
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_SHOWMINIMIZED;
    StandardHandles handles;
    std::vector<unsigned char> attributes;
    if (!handles.opened()) {
        return win::lastError("NUL");
    }
    if (!handles.handTo(startup, attributes)) {
        const Error error = win::lastError(plan.program);
        if (startup.lpAttributeList != nullptr) {
            DeleteProcThreadAttributeList(startup.lpAttributeList);
        }
        return error;
    }
    PROCESS_INFORMATION started{};
    // Naming the program stops the search for one at every blank of an unquoted
    // path; the game still gets its command line exactly as planned.
    const BOOL ran = CreateProcessW(application->c_str(), commandLine->data(), nullptr, nullptr,
                                    TRUE, EXTENDED_STARTUPINFO_PRESENT, nullptr,
                                    workingDir->empty() ? nullptr : workingDir->c_str(),
                                    &startup.StartupInfo, &started);
    const DWORD code = GetLastError();
    DeleteProcThreadAttributeList(startup.lpAttributeList);
    if (!ran) {
        return Error{plan.program, win::reasonFor(code)};
    }
    CloseHandle(started.hThread);
    if (watch != nullptr) {
        watch->attach(reinterpret_cast<std::intptr_t>(started.hProcess), plan.program, false);
    } else {
        CloseHandle(started.hProcess);
    }
    return std::nullopt;
}

} // namespace velo::platform
