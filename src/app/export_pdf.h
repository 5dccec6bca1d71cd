#pragma once

// "corvantix --export-pdf CASE OUT": writes the report of a case file as a PDF, for scripts. No
// window is opened and the offscreen platform is used, so it runs without a display.

// Returns the exit code when the command line asks for a PDF, -1 otherwise. Call before the
// application object exists.
int exportPdfFromCommandLine(int argc, char* argv[]);
