#pragma once

// Registers the window of every workshop with the shell's factory. Called once at start-up, before
// the first workshop is opened (and by the tests of the workshop windows).
void registerWorkshopWindows();
