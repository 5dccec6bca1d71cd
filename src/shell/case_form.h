#pragma once

#include "model/case_edit.h"
#include "model/undo_stack.h"
#include "shell/child_form.h"

#include <QString>

#include <memory>

class QLabel;
class QLineEdit;
class Cp1252PlainTextEdit;
struct TCaseData;
struct CaseFileError;

// The small child window that stands for one open case. It owns the case's TCaseData and its undo
// stack from creation to destruction, and edits the case's title and description.
class TCaseForm : public TChildForm {
    Q_OBJECT
public:
    explicit TCaseForm(QWidget* parent = nullptr);
    ~TCaseForm() override;

    TCaseData& data() const { return *active_; }
    // The one way the case changes: every edit of this case and its workshops starts here.
    CaseEdit& edit() { return *activeEdit_; }

    // While one lives, data() and edit() are `copy` and an edit of it that keeps no undo steps: the
    // windows' commits then go into the copy, and the case, its Modified flag and its undo stack
    // stay as they are. Autosave puts what controls still hold into its copy this way.
    class CopyScope {
    public:
        CopyScope(TCaseForm& form, TCaseData& copy);
        ~CopyScope();
        // Whether anything was committed into the copy.
        bool changed() const { return edit_.changeCount() > 0; }
        CopyScope(const CopyScope&) = delete;
        CopyScope& operator=(const CopyScope&) = delete;

    private:
        TCaseForm& form_;
        CaseEdit edit_;
    };

    // Reads the file into the case. On success FileName is the path, Modified is clear, the
    // caption follows and the fields are refreshed. On failure the case is partly filled and must be
    // discarded with the window; `error` gets the reason.
    bool LoadCase(const QString& path, CaseFileError* error = nullptr);
    // How many references to entries that do not exist LoadCase removed (the case is then modified).
    int danglingReferencesRemoved() const { return danglingReferencesRemoved_; }

    void SaveUndoState();
    // Restores the newest snapshot. False when the stack was empty (nothing changed).
    bool Undo();
    int undoCount() const { return undo_.count(); }
    // Brings back what the newest Undo took back and sets Modified. False when there is none.
    bool Redo();
    int redoCount() const { return undo_.redoCount(); }
    void SetModified();

    // Title and description fields into the model; a field whose text already is the model's is
    // left alone, so merely opening and saving a case never rewrites its text.
    void wmCommit() override;
    void wmRefresh() override;

    TCaseForm* caseForm() const override { return const_cast<TCaseForm*>(this); }
    QString captionWord() const override { return QStringLiteral("Case"); }
    int helpContext() const override { return 20005; }
    QString helpPage() const override { return QStringLiteral("shell.html#case"); }

    // Set once the close question was answered for this window, so closing does not ask again.
    void setCloseApproved(bool approved) { closeApproved_ = approved; }

    QLineEdit* edtTitle = nullptr;
    Cp1252PlainTextEdit* edtDesc = nullptr;

signals:
    // After every push and every Undo: whether the stack holds a snapshot.
    void undoAvailabilityChanged(bool available);
    // The same for the steps Redo can bring back.
    void redoAvailabilityChanged(bool available);
    // The close query of a case window; the main window connects it. `allow` starts true.
    void closeRequested(TCaseForm* form, bool* allow);
    // Accepted close, before the window goes: the main window tells the case's workshops.
    void closing(TCaseForm* form);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fieldEdited();
    // Title and description as shown, within `edit`'s step.
    void storeFields(CaseEdit& edit);

    std::unique_ptr<TCaseData> data_;
    UndoStack undo_;
    CaseEdit edit_;
    TCaseData* active_ = data_.get();
    CaseEdit* activeEdit_ = &edit_;
    bool closeApproved_ = false;
    int danglingReferencesRemoved_ = 0;
};

inline constexpr int kTitleMaxLength = 80;
