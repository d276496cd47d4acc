#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include <sys/types.h>

namespace velmar {

// What reading a file gave.
struct FileRead {
  bool ok = false;
  // At most the limit's bytes from the start of the file.
  std::string contents;
  // The file's size: at least contents.size(), more when the limit cut it.
  uint64_t size = 0;
  // Why the file could not be read, in the system's words ("Permission denied").
  std::string reason;
};

// Reads at most `limit` bytes from the start of the regular file at `path`.
// Anything but a regular file (a folder, a FIFO, a device) is refused without
// waiting for it; the kernel's attribute files (sysfs) are regular and read
// to their end.
FileRead ReadRegularFile(const std::string& path, size_t limit);

enum class WriteStatus { Ok, CannotCreate, WriteFailed };

// Replaces the file at `path` with `contents` so that a failure part-way never
// destroys the existing file: the bytes go to a temporary file with a short
// name in the same folder, which is then renamed over the target. An existing
// target keeps its permissions. A symbolic link is written through to the file
// it names only when the kernel lets this user follow it (open() decides, so
// protected links in sticky folders and link loops are refused); the link
// itself stays. New files get the permissions the kernel gives under the
// process's umask, which is never changed.
// CannotCreate: the file could not be opened for writing (nothing changed).
// WriteFailed: writing failed later (nothing changed).
// In both cases `error` (when given) receives the system's reason.
WriteStatus WriteFileAtomically(const std::string& path, const std::string& contents, std::string* error);

// The same for the file `name` (a plain name) of the folder open at `folder`:
// the temporary file is created, written and renamed relative to that folder,
// so the write lands in it even when its path changed meanwhile. A symbolic
// link or anything but a regular file at `name` is refused (CannotCreate);
// a new file gets `newMode`, an existing one keeps its permissions.
WriteStatus WriteFileAtomicallyAt(int folder, const std::string& name, const std::string& contents, mode_t newMode,
                                  std::string* error);

// Lets tests make the writes of WriteFileAtomically fail: while an override is
// installed, every write of file data goes through it (same contract as POSIX write).
using WriteFunction = std::function<long(int fd, const void* data, size_t size)>;
class ScopedWriteOverride {
 public:
  explicit ScopedWriteOverride(WriteFunction function);
  ~ScopedWriteOverride();
  ScopedWriteOverride(const ScopedWriteOverride&) = delete;
  ScopedWriteOverride& operator=(const ScopedWriteOverride&) = delete;

 private:
  WriteFunction previous_;
};

// The messages of a file that could not be opened: the text the commands
// have always shown, then the system's reason when there is one.
std::string ReadOpenFailureMessage(const std::string& path, const std::string& reason);
std::string WriteOpenFailureMessage(const std::string& path, const std::string& reason);
// The message shown when writing failed after the file was opened.
std::string WriteFailureMessage(const std::string& path, const std::string& error);

}  // namespace velmar
