#include "shell/autosave.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "shell/case_form.h"
#include "shell/main_form.h"

#include <QDir>
#include <QStatusBar>

#include <memory>

namespace {

constexpr std::chrono::milliseconds kShortestInterval{100};
constexpr int kFailureMessageMilliseconds = 10000;

QString originalPathOf(const TCaseData& data)
{
    return data.FileName == "untitled" ? QString() : displayFileName(data.FileName);
}

} // namespace

TAutosave::TAutosave(TMainForm& main, const QString& folder) : QObject(&main), main_(main), session_(folder)
{
    worker_.setMaxThreadCount(1);
    timer_.setInterval(configuredInterval());
    connect(&timer_, &QTimer::timeout, this, &TAutosave::saveChangedCases);
    if (session_.usable())
        timer_.start();
    connect(this, &TAutosave::copyFailed, &main, [&main](const QString& reason) {
        main.statusBar()->showMessage(tr("The recovery copy could not be written: %1").arg(reason),
                                      kFailureMessageMilliseconds);
    });
}

TAutosave::~TAutosave()
{
    timer_.stop();
    worker_.waitForDone();
}

std::chrono::milliseconds TAutosave::configuredInterval()
{
    bool ok = false;
    const double seconds = qEnvironmentVariable("CORVANTIX_AUTOSAVE_SECONDS").toDouble(&ok);
    if (!ok || seconds <= 0)
        return kDefaultInterval;
    return std::max(kShortestInterval, std::chrono::milliseconds(static_cast<long long>(seconds * 1000)));
}

std::chrono::milliseconds TAutosave::interval() const
{
    return timer_.intervalAsDuration();
}

void TAutosave::setInterval(std::chrono::milliseconds interval)
{
    timer_.setInterval(std::max(kShortestInterval, interval));
}

TAutosave::Tracked& TAutosave::track(TCaseForm& form)
{
    auto it = tracked_.find(&form);
    if (it != tracked_.end())
        return *it;
    // A window that goes without closing (the main window torn down) takes its copy with it.
    const TCaseForm* key = &form;
    connect(&form, &QObject::destroyed, this, [this, key] {
        auto gone = tracked_.find(key);
        if (gone == tracked_.end())
            return;
        removeCopy(*gone);
        tracked_.erase(gone);
    });
    return *tracked_.insert(&form, Tracked{});
}

int TAutosave::saveChangedCases()
{
    if (!session_.usable())
        return 0;
    int started = 0;
    for (TCaseForm* form : main_.caseForms()) {
        const TCaseData& data = form->data();
        const std::uint64_t changes = form->edit().changeCount();
        Tracked& tracked = track(*form);
        // A new or freshly opened case starts at change count 0, so one the user has not touched
        // gets no copy.
        if (!data.Modified || changes == tracked.copiedAt)
            continue;
        if (tracked.id.isEmpty())
            tracked.id = session_.newEntryId();

        // The only part on the GUI thread: the windows change the case here, so the copy is taken here.
        auto copy = std::make_shared<TCaseData>();
        copy->Assign(data);
        const bool withRecord = !tracked.recordWritten;
        const QByteArray record = withRecord ? recovery::recordBytes(session_.id(), originalPathOf(data)) : QByteArray();
        tracked.copiedAt = changes;
        tracked.recordWritten = true;
        tracked.onDisk = true;

        const QString folder = session_.folder();
        const QString id = tracked.id;
        worker_.start([this, folder, id, record, withRecord, copy = std::move(copy)]() mutable {
            std::optional<QString> error;
            try {
                const std::string bytes = encodeCase(*copy);
                copy.reset();
                error = recovery::writeEntry(folder, id, record, bytes, withRecord);
            } catch (const std::bad_alloc&) {
                error = tr("out of memory");
            }
            QMetaObject::invokeMethod(this, [this, id, error] { writeFinished(id, error); }, Qt::QueuedConnection);
        });
        ++started;
    }
    return started;
}

void TAutosave::writeFinished(const QString& id, const std::optional<QString>& error)
{
    if (!error) {
        emit copyWritten(QDir(session_.folder()).filePath(id + QStringLiteral(".cvx")));
        return;
    }
    // Tried again at the next interval, record and all. Whatever the failed write left, and the
    // copy before it, stay marked as on disk.
    for (Tracked& tracked : tracked_) {
        if (tracked.id == id) {
            tracked.copiedAt = 0;
            tracked.recordWritten = false;
        }
    }
    emit copyFailed(*error);
}

void TAutosave::removeCopy(Tracked& tracked)
{
    if (!tracked.onDisk)
        return;
    tracked.onDisk = false;
    tracked.recordWritten = false;
    worker_.start([folder = session_.folder(), id = tracked.id] { recovery::removeEntry(folder, id); });
}

void TAutosave::caseSaved(TCaseForm& form)
{
    Tracked& tracked = track(form);
    removeCopy(tracked);
    tracked.copiedAt = form.edit().changeCount();
}

void TAutosave::caseClosed(TCaseForm& form)
{
    auto it = tracked_.find(&form);
    if (it == tracked_.end())
        return;
    removeCopy(*it);
    tracked_.erase(it);
}

bool TAutosave::adopt(TCaseForm& form, const RecoveryEntry& entry)
{
    if (!session_.usable())
        return false;
    const std::optional<QString> id = session_.adopt(entry);
    if (!id)
        return false;
    Tracked& tracked = track(form);
    removeCopy(tracked);
    tracked.id = *id;
    tracked.copiedAt = form.edit().changeCount();
    tracked.recordWritten = true;
    tracked.onDisk = true;
    return true;
}

QString TAutosave::copyPathOf(const TCaseForm& form) const
{
    const auto it = tracked_.constFind(&form);
    if (it == tracked_.cend() || !it->onDisk)
        return {};
    return QDir(session_.folder()).filePath(it->id + QStringLiteral(".cvx"));
}

void TAutosave::waitForWrites()
{
    worker_.waitForDone();
}
