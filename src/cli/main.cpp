// velmar-edid: the command line tool over the same core as the desktop program.
#include <cstdio>

#include "cli/Cli.h"

int main(int argc, char** argv) {
  // Many small writes per file: let them go out in large pieces.
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  return velmar::cli::Run(argc, argv, stdout, stderr);
}
