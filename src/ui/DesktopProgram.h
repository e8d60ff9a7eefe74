#pragma once

// The desktop program from start to end: start-up in its order (font check, welcome,
// the start-up job behind a modal progress dialog, the failure report), the main window
// run modally, then the clean-up. Returns the process's exit status.

int RunDesktopProgram(int argc, char** argv);
