#pragma once
// File attributes and deletion in the working directory.

namespace platform {

// Makes the file writable again (clears its read-only attribute). Failures are
// not reported: the callers ignore them.
void ClearReadOnly(const char* path);

// Deletes the file; false when it could not be deleted.
bool RemoveFile(const char* path);

} // namespace platform
