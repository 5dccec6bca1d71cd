#pragma once

// Autosave: at every interval, each open case with changes that are neither saved nor copied yet
// gets a recovery copy in the recovery folder (see recovery_store.h). The copy holds what the
// windows show: also the text of an open cell editor and a name typed into a naming box, which the
// case itself takes only when the cell or the box is left. The user's own file is never touched.
// The copy of the case is taken on the GUI thread, where the windows change it; encoding and
// writing run on one worker thread, one job at a time in the order they were started, so that
// removing a copy never overtakes the write before it.
//
// A copy goes when its case is saved or closed, and every copy of the run goes when the run ends
// normally; only a run that ends any other way leaves copies for the next start to offer.

#include "shell/recovery_store.h"
#include "widgets/edit_state.h"

#include <QHash>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <cstdint>

class TCaseForm;
class TMainForm;

class TAutosave : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds kDefaultInterval{60};

    explicit TAutosave(TMainForm& main, const QString& folder = recovery::defaultFolder());
    // Waits for the writes under way, then ends the session: its copies and its lock go.
    ~TAutosave() override;

    // The interval the program runs with: CORVANTIX_AUTOSAVE_SECONDS when set (fractions allowed,
    // for tests), else one minute.
    static std::chrono::milliseconds configuredInterval();
    std::chrono::milliseconds interval() const;
    void setInterval(std::chrono::milliseconds interval);

    // Starts a copy of every case with unsaved changes that changed since its last copy. Returns how
    // many copies it started. Runs by itself at every interval.
    int saveChangedCases();

    // The case is saved (its file now holds everything) or closed: its copy goes.
    void caseSaved(TCaseForm& form);
    void caseClosed(TCaseForm& form);
    // `form` was opened from `entry`, an ended session's copy: the copy becomes this run's copy of
    // `form`, so that a second crash before the next interval still has it. False when the copy
    // could not be taken over (it then stays, to be offered again).
    bool adopt(TCaseForm& form, const RecoveryEntry& entry);

    // Full path of the recovery copy of `form`, when it has one (written or being written).
    QString copyPathOf(const TCaseForm& form) const;
    RecoverySession& session() { return session_; }

    // Blocks until every write and removal started so far has finished.
    void waitForWrites();

    // What the windows of a case show and the case does not hold yet: the text of an open cell
    // editor, a name typed into a naming box (the focused editable combo box) and its text.
    struct Uncommitted {
        PendingCellEdit cell;
        const QObject* box = nullptr;
        QString boxText;

        bool any() const { return cell.pending() || box; }
        bool operator==(const Uncommitted& other) const;
    };

signals:
    // On the GUI thread, after a copy was written or failed to be written.
    void copyWritten(const QString& path);
    void copyFailed(const QString& reason);

private:
    struct Tracked {
        QString id;
        std::uint64_t copiedAt = 0; // the case's change count when its copy was taken
        bool recordWritten = false; // the record is on disk: later copies are written without it
        // Files of the entry may be on disk, even after a write failed: saving or closing the case
        // removes them, so no copy outlives its case to be offered as unsaved work.
        bool onDisk = false;
        // What went into the copy beside the case.
        Uncommitted uncommittedCopied;
    };

    static Uncommitted uncommittedOf(const TCaseForm& form);

    Tracked& track(TCaseForm& form);
    void removeCopy(Tracked& tracked);
    void writeFinished(const QString& id, const std::optional<QString>& error);

    TMainForm& main_;
    RecoverySession session_;
    QHash<const TCaseForm*, Tracked> tracked_;
    QTimer timer_;
    QThreadPool worker_;
};
