#pragma once

#include "model/case_edit.h"
#include "model/undo_stack.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct TCaseData;
struct CaseFileError;

// One open case: its TCaseData, its undo stack and the edit through which every change of it goes.
// The case window owns it from creation to destruction; the windows of the case edit through it.
class CaseDocument : public QObject {
    Q_OBJECT
public:
    explicit CaseDocument(QObject* parent = nullptr);
    ~CaseDocument() override;

    TCaseData& data() const { return *active_; }
    // The one way the case changes: every edit of the case and its workshops starts here.
    CaseEdit& edit() { return *activeEdit_; }
    const UndoStack& undoStack() const { return undo_; }
    // Grows with every change of the case itself (not of an autosave copy); see CaseEdit.
    std::uint64_t changeCount() const { return edit_.changeCount(); }

    // Reads the file into the case; FileName becomes `fileName` and Modified is clear, unless
    // references to entries that do not exist had to be removed, which changes the case. On
    // failure the case is partly filled and must be discarded.
    std::optional<CaseFileError> load(const std::string& fileName);
    // How many such references load removed.
    int danglingReferencesRemoved() const { return danglingReferencesRemoved_; }

    // While one lives, data() and edit() are `copy` and an edit of it that keeps no undo steps: the
    // windows' commits then go into the copy, and the case, its Modified flag and its undo stack
    // stay as they are. Autosave puts what controls still hold into its copy this way.
    class CopyScope {
    public:
        CopyScope(CaseDocument& document, TCaseData& copy);
        ~CopyScope();
        // Whether anything was committed into the copy.
        bool changed() const { return edit_.changeCount() > 0; }
        CopyScope(const CopyScope&) = delete;
        CopyScope& operator=(const CopyScope&) = delete;

    private:
        CaseDocument& document_;
        CaseEdit edit_;
    };

signals:
    // Once the program is back in its event loop after the case changed (an edit, Undo, Redo, the
    // repair of a loaded file): once however many changes came in between, and after the handler
    // that changed it has finished, so the case is whole when it is read.
    void changed();
    // After every push and every Undo: whether the stack holds a snapshot.
    void undoAvailabilityChanged(bool available);
    // The same for the steps Redo can bring back.
    void redoAvailabilityChanged(bool available);

private:
    std::unique_ptr<TCaseData> data_;
    UndoStack undo_;
    CaseEdit edit_;
    TCaseData* active_ = data_.get();
    CaseEdit* activeEdit_ = &edit_;
    int danglingReferencesRemoved_ = 0;
    QTimer changedLater_;
};
