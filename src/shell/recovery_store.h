#pragma once

// The recovery folder: copies of cases with unsaved changes, written by autosave, so that a run that
// ends without closing its cases (a crash, a kill, a flat battery) can hand them back at the next
// start. It lives in the user's application-data folder, never beside the user's own files.
//
//     recovery/<entry>.json     where the case came from: {"session": ..., "path": ...}
//     recovery/<entry>.cvx      the case, in the case-file format, written atomically
//     recovery/<session>.lock   held by the running program whose entries carry that session
//     recovery/damaged/         copies that could not be read, set aside for the user
//
// An entry is named "<session>-<number>". Its record is written before its first copy and removed
// after its copy, so a copy never exists without the record that says where it belongs. A session
// whose lock nobody holds has ended without cleaning up: its entries are offered at the next start.
// The time of an entry is the time its copy was written (the copy file's own time).

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct TCaseData;

struct RecoveryEntry {
    QString folder;
    QString id;
    QString session;
    QString originalPath; // empty for a case that never had a file
    QDateTime time;
    QDateTime fileTime; // when the original file was last written; invalid when there is none
    // The copy as read while scanning; null until then.
    std::shared_ptr<TCaseData> data;

    QString copyPath() const;
    QString recordPath() const;
    // The original file was saved after the copy was made, so the copy holds older work.
    bool fileIsNewer() const { return fileTime.isValid() && time.isValid() && fileTime > time; }
};

namespace recovery {

// <application data>/recovery.
QString defaultFolder();

// The record of an entry, as written.
QByteArray recordBytes(const QString& session, const QString& originalPath);

// Writes an entry's copy (and its record first when `withRecord`). Safe on any thread: it touches
// nothing but the two files. Returns the reason on failure.
std::optional<QString> writeEntry(const QString& folder, const QString& id, const QByteArray& record,
                                  const std::string& caseBytes, bool withRecord);
// Removes an entry's copy, then its record. Safe on any thread.
void removeEntry(const QString& folder, const QString& id);

} // namespace recovery

// The running program's own part of the folder: its session lock and the names of its entries.
// Ending it (normally) removes every entry of the session and the lock.
class RecoverySession {
public:
    explicit RecoverySession(QString folder = recovery::defaultFolder());
    ~RecoverySession();
    RecoverySession(const RecoverySession&) = delete;
    RecoverySession& operator=(const RecoverySession&) = delete;

    const QString& folder() const { return folder_; }
    const QString& id() const { return id_; }
    // False when the folder could not be made or locked; autosave then has nowhere to write.
    bool usable() const { return usable_; }
    QString newEntryId();

    // Makes an entry of an ended session one of this session's, under a new name: a new record,
    // the copy renamed (atomically), the old record removed. Returns the new name, or nothing when
    // the copy could not be moved (the entry then stays where it was).
    std::optional<QString> adopt(const RecoveryEntry& entry);

private:
    QString folder_;
    QString id_;
    QLockFile lock_;
    bool usable_ = false;
    int next_ = 0;
};

// What a start finds of sessions that ended without cleaning up. While the scan lives it holds their
// locks, so a second program started at the same time does not offer the same cases; when it goes,
// the locks go, and entries still there are offered again at the next start.
class RecoveryScan {
public:
    // Reads every entry of ended sessions other than `ownSession`. Copies that cannot be read are
    // moved into damaged/, each with a line in damaged(); records without a copy are removed.
    RecoveryScan(const QString& folder, const QString& ownSession);
    ~RecoveryScan();
    RecoveryScan(const RecoveryScan&) = delete;
    RecoveryScan& operator=(const RecoveryScan&) = delete;

    // Oldest first.
    const std::vector<RecoveryEntry>& entries() const { return entries_; }
    const QStringList& damaged() const { return damaged_; }

private:
    void setAside(const QString& folder, const QString& id, const QString& reason);

    std::vector<RecoveryEntry> entries_;
    QStringList damaged_;
    std::vector<std::unique_ptr<QLockFile>> endedSessions_;
};
