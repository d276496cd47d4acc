#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace velmar {

enum class ReadStatus { Ok, CannotOpen, ReadError };

// Reads at most `limit` bytes from the start of the file at `path`.
ReadStatus ReadFilePrefix(const std::string& path, size_t limit, std::string& contents);

enum class WriteStatus { Ok, CannotCreate, WriteFailed };

// Replaces the file at `path` with `contents` so that a failure part-way never
// destroys the existing file: the bytes go to a temporary file in the same
// folder, which is then renamed over the target. An existing target keeps its
// permissions; a symbolic link is written through to the file it names.
// CannotCreate: the file could not be opened for writing (nothing changed).
// WriteFailed: writing failed later (nothing changed); `error` says why.
WriteStatus WriteFileAtomically(const std::string& path, const std::string& contents, std::string* error);

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

// The message shown when writing failed after the file was opened.
std::string WriteFailureMessage(const std::string& path, const std::string& error);

}  // namespace velmar
