#pragma once

// How widgets tell the user about input they refused and errors of their own. The widgets cannot
// know the program's message boxes or status bar; the shell installs handlers at start-up.

#include <QString>

#include <functional>

namespace feedback {

// A character was refused because a case file cannot hold it. Default: a beep.
void textRefused();
void setTextRefusedHandler(std::function<void()> handler);

// An error a widget met (an in-place control that could not be made). Default: a warning on the
// console, since without the shell there is no window to show it in.
void error(const QString& message);
void setErrorHandler(std::function<void(const QString&)> handler);

} // namespace feedback
