#pragma once

#include <QString>

// The GUI program's command line: "corvantix [FILE]", plus --help and --version (and --export-pdf,
// export_pdf.h). Both information options are answered before any window exists, so they work
// without a display.
struct CommandLine {
    QString startupFile; // empty when none was given
};

// Prints the help or the version and returns the exit code when asked for either (or when the
// command line is wrong); returns -1 otherwise. Call before the application object exists.
int answerInformationOptions(int argc, char* argv[]);

// The file to open, from the arguments left after Qt took its own options.
CommandLine parseCommandLine(const QStringList& arguments);
