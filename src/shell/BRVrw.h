// The program: start-up, the main window and the message loop.
#pragma once

namespace brv {

// What the web engine needs before the application object exists: shared
// OpenGL contexts, the help file's URL scheme, and (as root, where Chromium
// refuses its sandbox) the sandbox switched off, and its logging quiet.  RunBrevalis calls it; a test
// program that shows web views calls it before making its QApplication.
void PrepareWebEngine();
// Part of PrepareWebEngine: keeps the engine's logging out of the terminal.
void QuietWebEngine();

// Runs Brevalis; returns the exit code.
int RunBrevalis(int argc, char** argv);

}  // namespace brv
