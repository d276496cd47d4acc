#pragma once

#include <string>
#include <vector>

namespace velmar {

// velmar-edid-helper, the small privileged program that writes a display's
// EDID override (and the boot-time override's files) for a user who is not
// root: started through polkit's pkexec, which asks for the administrator's
// password, or directly when this program already runs as root.
class PrivilegedHelper {
 public:
  // How the helper is started: as the process's rights ask (pkexec unless
  // root), always through pkexec (tests), or always directly.
  enum class Launch { Automatic, Polkit, Direct };

  PrivilegedHelper();

  // The helper beside the program (the build folder), else in the program's
  // installation (libexec/velmar-edid-utility/).
  static std::string DefaultPath();
  void SetPath(std::string path) { helperPath = std::move(path); }
  const std::string& Path() const { return helperPath; }
  void SetLaunch(Launch how) { launch = how; }
  // Whether the helper goes through pkexec.
  bool ThroughPolkit() const;

  // Runs the helper with `arguments`, `input` on its standard input (its own
  // output goes where ours goes). True when it did what was asked; otherwise
  // `why` says why, and how to proceed when polkit or the helper is missing.
  bool Run(const std::vector<std::string>& arguments, const std::string& input, std::string& why) const;

 private:
  std::string helperPath;
  Launch launch = Launch::Automatic;
};

}  // namespace velmar
