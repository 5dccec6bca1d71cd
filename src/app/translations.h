#pragma once

class QCoreApplication;

// Installs the translation of the program's texts for the user's language when one is there:
// corvantix_<language>.qm from the translations folder of the build tree (translations/ beside
// bin/) or of an installation (share/corvantix/translations/), which `make translations` fills. Only
// then are Qt's own texts (the buttons of standard dialogs) translated too, so that a window never
// mixes two languages. Without a translation everything stays as written.
void installTranslations(QCoreApplication& app);
