#pragma once

// Every modal question, message box, file dialog and beep of the shell goes through this interface,
// so tests can answer them without a modal window ever blocking.

#include <QString>

class QWidget;

enum class AddModAnswer { Add, Rename, Cancelled };
enum class SaveChangesAnswer { Yes, No, Cancel };

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

    virtual void beep() = 0;
};

// The prompts in force: the real dialogs unless a test installed its own.
Prompts& prompts();

class Questions;
// The model operations' questions, answered through the prompts in force (model text is shown
// through the code-page conversion).
Questions& promptQuestions();
// Installs `replacement` (not owned); nullptr restores the real dialogs.
void setPrompts(Prompts* replacement);

// Parent for the real dialogs (the main window); set once it exists.
void setPromptParent(QWidget* parent);
QWidget* promptParent();
