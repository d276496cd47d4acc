#pragma once

namespace velmar {

// The application: starts the toolkit, shows the main window, loads the file
// named on the command line once the window is up, and ends when the window
// closes.
class VelmarEDIDUtility {
 public:
  int Run(int argc, char** argv);
  // The application's names, once the toolkit's application object exists.
  static void SetUpApplication();
};

}  // namespace velmar
