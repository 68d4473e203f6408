// The command line: open a structure file in the window, or export a
// picture or a spot list of it without showing a window.
#pragma once

namespace quorvex::cli {

// Reads the arguments, makes the application they need and runs what they
// ask for; the program's exit code. A mistake is one line on stderr.
int Main(int argc, char** argv);

}  // namespace quorvex::cli
