#pragma once

// One writer per case file. While a case window has a file open, a lock file beside it (".NAME.lock",
// hidden) tells every other running Corvantix so, with the user, host and process holding it.
// Windows of one program share the lock of a file they both have open; the last one to let go
// removes it. A lock left behind by a program that crashed on this computer is taken over without a
// word: the process it names no longer runs. One made on another computer is never taken over, as
// there is no telling from here whether its program still runs; the question says since when it is
// held, so that the user can judge.

#include <QDateTime>
#include <QString>

class QObject;

struct CaseLockHolder {
    QString user;
    QString host;
    qint64 pid = 0;
    QDateTime since; // when the lock was taken
};

enum class CaseLockResult {
    Locked,        // the owner holds the lock now
    HeldElsewhere, // another running program holds it; `holder` says who
    Unavailable,   // no lock can be made there (a read-only folder, say): go on without one
};

namespace case_lock {

// ".NAME.lock" beside the file `casePath` names (beside the real file when it is a link).
QString lockFileFor(const QString& casePath);

// Makes `owner` (a case window) hold the lock of `casePath`, in place of any lock it held before.
// When another program holds it, `holder` gets who, and what `owner` held stays as it was.
CaseLockResult claim(QObject* owner, const QString& casePath, CaseLockHolder* holder = nullptr);

// Who holds the lock of `casePath` when another running program does; nullopt-like empty user and
// host otherwise. Takes nothing.
bool heldElsewhere(const QString& casePath, CaseLockHolder* holder);

// Lets go of what `owner` holds. Destroying the owner does the same.
void release(QObject* owner);

// The case file whose lock `owner` holds, or an empty string.
QString heldBy(const QObject* owner);

// "'PATH' is open in Corvantix for USER on HOST since TIME." and the question whether to go ahead
// anyway; `action` is what going ahead does ("Open it anyway?").
QString heldElsewhereQuestion(const QString& casePath, const CaseLockHolder& holder, const QString& action);

} // namespace case_lock
