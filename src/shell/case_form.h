#pragma once

#include "shell/case_document.h"
#include "shell/child_form.h"

#include <QList>
#include <QPointer>
#include <QString>

class QLabel;
class QLineEdit;
class Cp1252PlainTextEdit;
class TWorkshopForm;
struct TCaseData;
struct CaseFileError;

// The small child window that stands for one open case. It owns the case's document (its TCaseData
// and undo stack) from creation to destruction, edits the case's title and description, and knows
// the case's workshop windows.
class TCaseForm : public TChildForm {
    Q_OBJECT
public:
    explicit TCaseForm(QWidget* parent = nullptr);
    ~TCaseForm() override;

    CaseDocument& document() const { return *document_; }
    TCaseData& data() const { return document_->data(); }
    // The one way the case changes: every edit of this case and its workshops starts here.
    CaseEdit& edit() { return document_->edit(); }

    // The case's open workshop window of `identifier`, or null: there is at most one.
    TWorkshopForm* workshopWindow(int identifier) const;
    // Every open workshop window of the case, in the order they were opened.
    QList<TWorkshopForm*> workshopWindows() const;
    // A workshop window joins its case as it is initialised and leaves it as its close is accepted
    // (its frame is deleted later) or as it is destroyed.
    void addWorkshopWindow(TWorkshopForm* workshop);
    void removeWorkshopWindow(TWorkshopForm* workshop);

    // Reads the file into the case. On success FileName is the path, Modified is clear, the
    // caption follows and the fields are refreshed. On failure the case is partly filled and must be
    // discarded with the window; `error` gets the reason.
    bool LoadCase(const QString& path, CaseFileError* error = nullptr);
    // How many references to entries that do not exist LoadCase removed (the case is then modified).
    int danglingReferencesRemoved() const { return document_->danglingReferencesRemoved(); }

    // Restores the newest snapshot. False when the stack was empty (nothing changed).
    bool Undo();
    int undoCount() const { return document_->undoStack().count(); }
    // Brings back what the newest Undo took back and sets Modified. False when there is none.
    bool Redo();
    int redoCount() const { return document_->undoStack().redoCount(); }
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

    QLineEdit* edtTitle = nullptr;
    Cp1252PlainTextEdit* edtDesc = nullptr;
    CaseDocument* document_;
    QList<QPointer<TWorkshopForm>> workshops_;
    bool closeApproved_ = false;
};

inline constexpr int kTitleMaxLength = 80;
