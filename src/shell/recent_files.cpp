#include "shell/recent_files.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kSection = QStringLiteral("Recent");

QString keyFor(int position)
{
    return kSection + QStringLiteral("/File") + QString::number(position);
}

QChar asciiUpper(QChar c)
{
    return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 'a' + 'A') : c;
}

} // namespace

bool sameRecentPath(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
    return true;
}

bool addRecentPath(QStringList& list, const QString& path)
{
    for (const QString& entry : list)
        if (sameRecentPath(entry, path))
            return false;
    list.prepend(path);
    while (list.size() > kMaxRecentFiles)
        list.removeLast();
    return true;
}

RecentFiles::RecentFiles(QString settingsPath) : settingsPath_(std::move(settingsPath))
{
    reload();
}

QString RecentFiles::defaultSettingsPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath(QStringLiteral("CORVANTX.INI"));
}

void RecentFiles::reload()
{
    entries_.clear();
    QSettings settings(settingsPath_, QSettings::IniFormat);
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        const QString value = settings.value(keyFor(i)).toString();
        if (!value.isEmpty())
            entries_.append(value);
    }
}

bool RecentFiles::add(const QString& path)
{
    if (!addRecentPath(entries_, path))
        return false;
    write();
    return true;
}

void RecentFiles::write() const
{
    QDir().mkpath(QFileInfo(settingsPath_).absolutePath());
    QSettings settings(settingsPath_, QSettings::IniFormat);
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        // Keys past the list are removed, so an entry skipped as empty on reading cannot come back
        // as a duplicate.
        if (i <= entries_.size())
            settings.setValue(keyFor(i), entries_[i - 1]);
        else
            settings.remove(keyFor(i));
    }
    settings.sync();
}
