#pragma once

#include <string>

namespace velmar {

// Whether the process runs with root's rights or with rights its caller does
// not have (a setuid or setgid program): its environment then comes from
// someone who may not be trusted with what the program does.
bool RunsPrivileged();

// Why `path` cannot be trusted by a privileged process, or empty when it can:
// the path must be absolute, and it and every folder above it must be owned by
// root and writable by no one else. A root-owned folder with the sticky bit
// (such as /tmp) may be writable by everyone, since only an entry's owner may
// then rename or remove it. A symbolic link on the way must be owned by root
// and is checked through to where it leads. With `missingIsFine` the check
// ends without complaint at the first part that does not exist yet (a folder
// root is about to create).
// This is the rule sshd applies to its users' files.
std::string UntrustedPathReason(const std::string& path, bool missingIsFine = false);

}  // namespace velmar
