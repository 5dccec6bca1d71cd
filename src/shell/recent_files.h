#pragma once

// The four most recently used case files, newest first, kept in section "Recent" (keys "File1" to
// "File4") of the settings file "CORVANTX.INI".

#include <QString>
#include <QStringList>

inline constexpr int kMaxRecentFiles = 4;

// Paths that differ only in the letter case of A to Z name the same entry.
bool sameRecentPath(const QString& a, const QString& b);

// The list rule: a path already listed leaves the list as it is (false); otherwise it goes on top
// and the list is cut to four entries (true).
bool addRecentPath(QStringList& list, const QString& path);

class RecentFiles {
public:
    // `settingsPath` is the full path of the settings file.
    explicit RecentFiles(QString settingsPath = defaultSettingsPath());

    // CORVANTX.INI in the user's standard configuration folder.
    static QString defaultSettingsPath();

    // Reads "File1" to "File4" in that order, skipping empty or missing keys.
    void reload();
    const QStringList& entries() const { return entries_; }

    // Applies the list rule and, when the list changed, writes it back. Returns whether it changed.
    bool add(const QString& path);

    const QString& settingsPath() const { return settingsPath_; }

private:
    void write() const;

    QString settingsPath_;
    QStringList entries_;
};
