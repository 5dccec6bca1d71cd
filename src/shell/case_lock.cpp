#include "shell/case_lock.h"

#include "shell/child_form.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QSysInfo>

#include <memory>

namespace {

const char* const kHeldLockName = "corvantixCaseLock";

// A lock shared by the windows of this program that have the same file open.
struct SharedLock {
    QString casePath;
    QLockFile file;
    explicit SharedLock(const QString& lockPath) : file(lockPath) {}
};

QHash<QString, std::weak_ptr<SharedLock>>& openLocks()
{
    static QHash<QString, std::weak_ptr<SharedLock>> locks;
    return locks;
}

// Lives as a child of the window holding the lock, so the lock goes with the window.
class LockHandle : public QObject {
public:
    LockHandle(QObject* owner, std::shared_ptr<SharedLock> lock) : QObject(owner), lock_(std::move(lock))
    {
        setObjectName(QLatin1String(kHeldLockName));
    }
    const QString& casePath() const { return lock_->casePath; }

private:
    std::shared_ptr<SharedLock> lock_;
};

LockHandle* handleOf(const QObject* owner)
{
    return owner ? owner->findChild<LockHandle*>(QLatin1String(kHeldLockName), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

// The lock stays as long as the program runs with the file open, so its age says nothing: only
// a holder that no longer runs makes it stale.
void configure(QLockFile& file)
{
    file.setStaleLockTime(0);
}

CaseLockHolder holderOf(const QLockFile& file, const QString& lockPath)
{
    CaseLockHolder holder;
    QString application;
    file.getLockInfo(&holder.pid, &holder.host, &application);
    const QFileInfo info(lockPath);
    holder.user = info.owner();
    // A lock file is written once, when the lock is taken.
    holder.since = info.lastModified();
    return holder;
}

} // namespace

namespace case_lock {

QString lockFileFor(const QString& casePath)
{
    QFileInfo info(casePath);
    if (info.isSymLink())
        info.setFile(info.symLinkTarget());
    return QDir(info.absolutePath()).filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".lock"));
}

CaseLockResult claim(QObject* owner, const QString& casePath, CaseLockHolder* holder)
{
    const QString lockPath = lockFileFor(casePath);
    if (LockHandle* current = handleOf(owner); current && lockFileFor(current->casePath()) == lockPath)
        return CaseLockResult::Locked;

    std::shared_ptr<SharedLock> lock = openLocks().value(lockPath).lock();
    if (!lock) {
        auto fresh = std::make_shared<SharedLock>(lockPath);
        fresh->casePath = QFileInfo(casePath).absoluteFilePath();
        configure(fresh->file);
        if (!fresh->file.tryLock(0)) {
            if (fresh->file.error() != QLockFile::LockFailedError)
                return CaseLockResult::Unavailable;
            if (holder)
                *holder = holderOf(fresh->file, lockPath);
            return CaseLockResult::HeldElsewhere;
        }
        lock = std::move(fresh);
        openLocks().insert(lockPath, lock);
    }
    delete handleOf(owner);
    new LockHandle(owner, std::move(lock));
    return CaseLockResult::Locked;
}

bool heldElsewhere(const QString& casePath, CaseLockHolder* holder)
{
    const QString lockPath = lockFileFor(casePath);
    if (!openLocks().value(lockPath).expired())
        return false;
    QLockFile probe(lockPath);
    configure(probe);
    if (probe.tryLock(0))
        return false; // free, or left by a program that has gone; unlocking removes it again
    if (probe.error() != QLockFile::LockFailedError)
        return false;
    if (holder)
        *holder = holderOf(probe, lockPath);
    return true;
}

void release(QObject* owner)
{
    delete handleOf(owner);
}

QString heldBy(const QObject* owner)
{
    const LockHandle* handle = handleOf(owner);
    return handle ? handle->casePath() : QString();
}

QString heldElsewhereQuestion(const QString& casePath, const CaseLockHolder& holder, const QString& action)
{
    const QString user = holder.user.isEmpty() ? QCoreApplication::translate("case_lock", "another user")
                                               : holder.user;
    const QString host = holder.host.isEmpty() ? QCoreApplication::translate("case_lock", "an unknown computer")
                                               : holder.host;
    QString held = QCoreApplication::translate("case_lock", "'%1' is open in Corvantix for %2 on %3")
                       .arg(QDir::toNativeSeparators(casePath), user, host);
    if (holder.since.isValid())
        held += QLatin1Char(' ') + QCoreApplication::translate("case_lock", "since %1").arg(displayFileTime(holder.since));
    held += QLatin1Char('.');
    if (holder.host != QSysInfo::machineHostName())
        held += QLatin1Char(' ')
            + QCoreApplication::translate("case_lock", "Whether Corvantix still runs there cannot be told from this "
                                                       "computer: if it does not, the file is free.");
    return held
        + QCoreApplication::translate("case_lock", "\n\nIf both save it, one overwrites the other's changes. %1").arg(action);
}

} // namespace case_lock
