#include "shell/recovery_store.h"

#include "model/atomic_file.h"
#include "model/case_data.h"
#include "model/case_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <cstdio>

namespace {

const QString kCopySuffix = QStringLiteral(".cvx");
const QString kRecordSuffix = QStringLiteral(".json");
const QString kLockSuffix = QStringLiteral(".lock");

std::string fileSystemPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString filePath(const QString& folder, const QString& id, const QString& suffix)
{
    return QDir(folder).filePath(id + suffix);
}

// The session part of an entry name "<session>-<number>"; empty when the name is not one.
QString sessionOfEntry(const QString& id)
{
    const qsizetype dash = id.indexOf(QLatin1Char('-'));
    if (dash <= 0 || dash == id.size() - 1)
        return {};
    bool number = false;
    id.mid(dash + 1).toInt(&number);
    return number ? id.left(dash) : QString();
}

// Copies of a user's cases are the user's alone, whatever the default permissions of new files:
// the folder is closed to others and every file in it is readable by its owner only.
void keepPrivate(const QString& path, bool folder = false)
{
    QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (folder)
        owner |= QFileDevice::ExeOwner;
    QFile::setPermissions(path, owner);
}

void configure(QLockFile& lock)
{
    // The session runs as long as the program does; only a holder that no longer runs is stale.
    lock.setStaleLockTime(0);
}

} // namespace

QString RecoveryEntry::copyPath() const
{
    return filePath(folder, id, kCopySuffix);
}

QString RecoveryEntry::recordPath() const
{
    return filePath(folder, id, kRecordSuffix);
}

namespace recovery {

QString defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("recovery"));
}

QByteArray recordBytes(const QString& session, const QString& originalPath)
{
    QJsonObject record;
    record.insert(QStringLiteral("session"), session);
    record.insert(QStringLiteral("path"), originalPath);
    return QJsonDocument(record).toJson(QJsonDocument::Indented);
}

std::optional<QString> writeEntry(const QString& folder, const QString& id, const QByteArray& record,
                                  const std::string& caseBytes, bool withRecord)
{
    // A replaced file keeps its permissions, so only a file's first write leaves it open to others
    // for a moment, inside a folder they cannot enter.
    if (withRecord) {
        const QString path = filePath(folder, id, kRecordSuffix);
        if (auto error = writeFileAtomically(fileSystemPath(path),
                                             std::string_view(record.constData(), static_cast<std::size_t>(record.size()))))
            return QFile::decodeName(QByteArray::fromStdString(*error));
        keepPrivate(path);
    }
    const QString path = filePath(folder, id, kCopySuffix);
    if (auto error = writeFileAtomically(fileSystemPath(path), caseBytes))
        return QFile::decodeName(QByteArray::fromStdString(*error));
    keepPrivate(path);
    return std::nullopt;
}

void removeEntry(const QString& folder, const QString& id)
{
    QFile::remove(filePath(folder, id, kCopySuffix));
    QFile::remove(filePath(folder, id, kRecordSuffix));
}

} // namespace recovery

// ---- RecoverySession

RecoverySession::RecoverySession(QString folder)
    : folder_(std::move(folder)), id_(QUuid::createUuid().toString(QUuid::Id128)),
      lock_(filePath(folder_, id_, kLockSuffix))
{
    configure(lock_);
    usable_ = QDir().mkpath(folder_);
    if (usable_)
        keepPrivate(folder_, true);
    usable_ = usable_ && lock_.tryLock(0);
}

RecoverySession::~RecoverySession()
{
    if (!usable_)
        return;
    const QDir dir(folder_);
    const QString pattern = id_ + QStringLiteral("-*");
    // Copies before records, as everywhere.
    for (const QString& name : dir.entryList({pattern + kCopySuffix}, QDir::Files))
        QFile::remove(dir.filePath(name));
    for (const QString& name : dir.entryList({pattern + kRecordSuffix}, QDir::Files))
        QFile::remove(dir.filePath(name));
    lock_.unlock();
}

QString RecoverySession::newEntryId()
{
    return id_ + QLatin1Char('-') + QString::number(++next_);
}

std::optional<QString> RecoverySession::adopt(const RecoveryEntry& entry)
{
    const QString id = newEntryId();
    const QByteArray record = recovery::recordBytes(id_, entry.originalPath);
    const std::string recordPath = fileSystemPath(filePath(folder_, id, kRecordSuffix));
    if (writeFileAtomically(recordPath, std::string_view(record.constData(), static_cast<std::size_t>(record.size()))))
        return std::nullopt;
    keepPrivate(filePath(folder_, id, kRecordSuffix));
    const QString copyPath = filePath(folder_, id, kCopySuffix);
    if (std::rename(fileSystemPath(entry.copyPath()).c_str(), fileSystemPath(copyPath).c_str()) != 0) {
        std::remove(recordPath.c_str());
        return std::nullopt;
    }
    keepPrivate(copyPath);
    QFile::remove(entry.recordPath());
    return id;
}

// ---- RecoveryScan

RecoveryScan::RecoveryScan(const QString& folder, const QString& ownSession)
{
    const QDir dir(folder);
    if (!dir.exists())
        return;

    // Every session named by a lock, a record or a copy.
    QMap<QString, QStringList> entriesOf; // session -> entry names that have a record
    for (const QString& name : dir.entryList({QStringLiteral("*") + kLockSuffix}, QDir::Files))
        entriesOf[name.chopped(kLockSuffix.size())];
    for (const QString& name : dir.entryList({QStringLiteral("*") + kRecordSuffix}, QDir::Files)) {
        const QString id = name.chopped(kRecordSuffix.size());
        if (const QString session = sessionOfEntry(id); !session.isEmpty())
            entriesOf[session].append(id);
    }
    QStringList orphanCopies;
    for (const QString& name : dir.entryList({QStringLiteral("*") + kCopySuffix}, QDir::Files)) {
        const QString id = name.chopped(kCopySuffix.size());
        const QString session = sessionOfEntry(id);
        if (session.isEmpty() || !entriesOf.value(session).contains(id)) {
            orphanCopies.append(id);
            if (!session.isEmpty())
                entriesOf[session];
        }
    }

    QStringList endedSessions;
    for (auto it = entriesOf.cbegin(); it != entriesOf.cend(); ++it) {
        if (it.key() == ownSession)
            continue;
        auto lock = std::make_unique<QLockFile>(filePath(folder, it.key(), kLockSuffix));
        configure(*lock);
        if (!lock->tryLock(0))
            continue; // a running program's session, or one we cannot tell: leave it alone
        endedSessions.append(it.key());
        endedSessions_.push_back(std::move(lock));
    }

    for (const QString& id : std::as_const(orphanCopies))
        if (endedSessions.contains(sessionOfEntry(id)) || sessionOfEntry(id).isEmpty())
            setAside(folder, id, QCoreApplication::translate("RecoveryScan", "the record of where it came from is missing"));

    for (const QString& session : std::as_const(endedSessions)) {
        for (const QString& id : entriesOf.value(session)) {
            RecoveryEntry entry;
            entry.folder = folder;
            entry.id = id;
            entry.session = session;
            const QFileInfo copy(entry.copyPath());
            if (!copy.exists()) {
                // Killed between writing the record and the first copy: nothing was lost.
                QFile::remove(entry.recordPath());
                continue;
            }
            QFile recordFile(entry.recordPath());
            QJsonParseError parseError{};
            const QJsonDocument record = recordFile.open(QIODevice::ReadOnly)
                ? QJsonDocument::fromJson(recordFile.readAll(), &parseError)
                : QJsonDocument();
            recordFile.close();
            if (!record.isObject()) {
                setAside(folder, id, QCoreApplication::translate("RecoveryScan", "its record cannot be read"));
                continue;
            }
            entry.originalPath = record.object().value(QStringLiteral("path")).toString();
            entry.time = copy.lastModified();
            if (const QFileInfo original(entry.originalPath); !entry.originalPath.isEmpty() && original.exists())
                entry.fileTime = original.lastModified();
            entry.data = std::make_shared<TCaseData>();
            if (auto error = loadCaseFile(fileSystemPath(entry.copyPath()), *entry.data)) {
                const QString where = entry.originalPath.isEmpty() ? QCoreApplication::translate("RecoveryScan", "untitled")
                                                                   : entry.originalPath;
                setAside(folder, id, where + QStringLiteral(": ") + QFile::decodeName(QByteArray::fromStdString(error->message)));
                continue;
            }
            entries_.push_back(std::move(entry));
        }
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const RecoveryEntry& a, const RecoveryEntry& b) { return a.time < b.time; });
}

RecoveryScan::~RecoveryScan() = default;

void RecoveryScan::setAside(const QString& folder, const QString& id, const QString& reason)
{
    const QDir dir(folder);
    const QString damaged = dir.filePath(QStringLiteral("damaged"));
    QDir().mkpath(damaged);
    for (const QString& suffix : {kCopySuffix, kRecordSuffix}) {
        const QString from = dir.filePath(id + suffix);
        if (!QFile::exists(from))
            continue;
        const QString to = QDir(damaged).filePath(id + suffix);
        QFile::remove(to);
        if (!QFile::rename(from, to))
            QFile::remove(from); // never offer, nor trip over, the same broken copy again
    }
    damaged_.append(QCoreApplication::translate("RecoveryScan", "%1 (kept as %2)")
                        .arg(reason, QDir(damaged).filePath(id + kCopySuffix)));
}
