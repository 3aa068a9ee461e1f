#pragma once

#include "error.h"
#include "path.h"

#include <string>
#include <string_view>

namespace velo::platform {

// True when a directory entry of that name exists: a file, a folder or a link.
// A relative name is looked up in the current directory.
bool FileExists(const std::string& name);

// folder as it is spelt on disk: where nothing of that name exists, the one folder beside it
// whose name differs only in letter case (the first found, where several do); else folder
// unchanged. Windows compares names without regard to case already: folder unchanged.
std::string existingSpelling(const std::string& folder);

// The game folder's "baseq2" as it is spelt on disk.
inline std::string baseFolder(const std::string& gameDir) {
    return existingSpelling(joinNative(gameDir, "baseq2"));
}

struct FileRead {
    enum class Status { Ok, Absent, Failed };
    Status status = Status::Absent;
    // With Ok: the content, in the program's own encoding (Windows: from the code page,
    // unless a UTF-8 byte order mark says it is UTF-8 already; it is written back so).
    std::string text;
    Error error; // with Failed: what went wrong
};

// The whole file as text. An absent file (or folder on the way) is not a failure.
FileRead readTextFile(const std::string& path);

// Replaces the file with text: written to a temporary file beside it, flushed,
// then renamed over it, so the old content survives any failure. A link is written
// through to the file it names and stays a link. A file the user may not write
// (read-only, or someone else's) is refused. On failure no temporary file is left
// and the error names the path.
MaybeError writeTextFileAtomic(const std::string& path, std::string_view text,
                               bool executable = false);

// The one temporary file that writes of the file at path use; writers take turns on it.
// A crash may leave it; the next write takes it over when it is a plain file of this
// user's.
std::string temporaryFileFor(const std::string& path);

} // namespace velo::platform
