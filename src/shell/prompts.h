#pragma once

// Every modal question, message box, file dialog and beep of the shell goes through this interface,
// so tests can answer them without a modal window ever blocking.

#include <QDateTime>
#include <QList>
#include <QString>

class QWidget;

enum class AddModAnswer { Add, Rename, Cancelled };
enum class SaveChangesAnswer { Yes, No, Cancel };

// A case that a run which did not end normally left behind, as the recovery question lists it.
struct RecoveryOffer {
    QString caseName;   // the file it came from, or "untitled"
    QString title;      // the case's title
    QDateTime time;     // when the copy was made
    QDateTime fileTime; // when that file was last written; invalid when there is none
    bool fileIsNewer = false; // the file was saved after the copy was made
};
// Open it (as a changed case named after its file), discard the copy, or decide at the next start.
enum class RecoveryChoice { Open, Discard, Keep };

struct FileDialogRequest {
    QString title;
    QString filter;        // e.g. "Corvantix Files (*.cvx)"
    QString defaultSuffix; // appended when the typed name has none
    QString proposedPath;  // the name the dialog starts with
    int helpContext = 0;
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // Message boxes captioned with the application title.
    virtual void warning(const QString& text, const QString& detail = {}) = 0;
    virtual void error(const QString& text) = 0;
    virtual void outOfMemory(const QString& text) = 0;
    virtual bool yesNo(const QString& text) = 0;
    virtual SaveChangesAnswer saveChanges(const QString& text) = 0;

    // Return the chosen path, or an empty string when cancelled. The save dialog asks before it
    // replaces an existing file.
    virtual QString openFileName(const FileDialogRequest& request) = 0;
    virtual QString saveFileName(const FileDialogRequest& request) = 0;

    // The shared add-or-rename question; the rename choice is offered only when modifyAllowed.
    virtual AddModAnswer askAddOrModify(bool modifyAllowed) = 0;

    // Lists the recovered cases and returns one choice per offer, in the same order.
    virtual QList<RecoveryChoice> askRecovery(const QList<RecoveryOffer>& offers) = 0;

    virtual void beep() = 0;
};

// The prompts in force: the real dialogs unless a test installed its own.
Prompts& prompts();

class Questions;
// The model operations' questions, answered through the prompts in force: translated, with the
// names they quote shown through the code-page conversion.
Questions& promptQuestions();
// Installs `replacement` (not owned); nullptr restores the real dialogs.
void setPrompts(Prompts* replacement);

// Puts `replacement` in force for its lifetime, then whatever was in force before.
class ScopedPrompts {
public:
    explicit ScopedPrompts(Prompts& replacement);
    ~ScopedPrompts();
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;

private:
    Prompts* previous_;
};

// Parent for the real dialogs (the main window); set once it exists.
void setPromptParent(QWidget* parent);
QWidget* promptParent();
