#pragma once
// Files in the working directory: attributes, deletion, the full path of a
// name, and a file that only one writer may hold open.

#include <cstdio>
#include <memory>
#include <string>

namespace platform {

// Makes the file writable again (clears its read-only attribute). Failures are
// not reported: the callers ignore them.
void ClearReadOnly(const char* path);

// Deletes the file; false when it could not be deleted.
bool RemoveFile(const char* path);

// `path` as the system names it from the root, relative to the working
// directory; `path` itself when the system cannot tell.
std::string FullPath(const char* path);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

struct UnsharedFile {
    UniqueFile file;            // empty when not opened
    bool heldElsewhere = false; // not opened because another writer holds it open
};

// Opens `path` for appending and reading (creating it when missing) so that
// no other writer can open it while it stays open; readers still can, so the
// file can be watched while it grows. Every write goes to the file's end; a
// write after a read needs a seek between them, as for any C stream.
UnsharedFile OpenUnsharedForAppend(const char* path);

} // namespace platform
