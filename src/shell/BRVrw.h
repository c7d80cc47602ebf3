// The program: start-up, the main window and the message loop.
#pragma once

#include <functional>

namespace brv {

// What the web engine needs before the application object exists: shared
// OpenGL contexts, the help file's URL scheme, and (as root, where Chromium
// refuses its sandbox) the sandbox switched off.  RunBrevalis calls it; a test
// program that shows web views calls it before making its QApplication.
void PrepareWebEngine();

// Start-up makes the picture viewer form after the data module (the viewer's
// unit installs the step; none is made without one).
void SetPictureViewerStartup(std::function<void()> step);

// Runs Brevalis; returns the exit code.
int RunBrevalis(int argc, char** argv);

}  // namespace brv
