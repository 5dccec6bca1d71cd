#include "shell/autosave.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "shell/case_form.h"
#include "shell/main_form.h"
#include "shell/prompts.h"
#include "shell/protocol_state.h"
#include "shell/workshop_form.h"
#include "widgets/workshop_grid.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPointer>
#include <QStatusBar>

#include <memory>

namespace {

constexpr std::chrono::milliseconds kShortestInterval{100};
constexpr int kFailureMessageMilliseconds = 10000;

QString originalPathOf(const TCaseData& data)
{
    return data.FileName == "untitled" ? QString() : displayFileName(data.FileName);
}

// Answers what a commit into autosave's copy may ask, without asking: a typed name is added (an
// entry is never renamed), nothing is deleted, no message is shown.
class QuietPrompts : public Prompts {
public:
    void warning(const QString&, const QString&) override {}
    void error(const QString&) override {}
    void outOfMemory(const QString&) override {}
    bool yesNo(const QString&) override { return false; }
    SaveChangesAnswer saveChanges(const QString&) override { return SaveChangesAnswer::Cancel; }
    QString openFileName(const FileDialogRequest&) override { return {}; }
    QString saveFileName(const FileDialogRequest&) override { return {}; }
    AddModAnswer askAddOrModify(bool) override { return AddModAnswer::Add; }
    QList<RecoveryChoice> askRecovery(const QList<RecoveryOffer>& offers) override
    {
        return QList<RecoveryChoice>(offers.size(), RecoveryChoice::Keep);
    }
    void beep() override {}
};

TChildForm* windowOf(QObject* control)
{
    for (QObject* up = control; up; up = up->parent())
        if (auto* window = qobject_cast<TChildForm*>(up))
            return window;
    return nullptr;
}

// The editable combo box holding the focus, in a workshop window of `form`: a name may be typed
// into it and not yet committed.
QComboBox* focusedNamingBox(const TCaseForm& form)
{
    QComboBox* box = nullptr;
    for (QObject* up = QApplication::focusWidget(); up && !box; up = up->parent())
        box = qobject_cast<QComboBox*>(up);
    if (!box || !box->isEditable())
        return nullptr;
    const auto* window = qobject_cast<TWorkshopForm*>(windowOf(box));
    return window && window->caseForm() == &form ? box : nullptr;
}

struct CaseCopy {
    std::shared_ptr<TCaseData> data;
    bool uncommittedWentIn = false;
};

// A copy of the case holding what its windows show, though the case does not hold it yet: the
// text of an open cell editor, committed by its window as leaving the cell would commit it, and a
// name typed into a naming box, as its window would add it. The case, Modified, the undo stack, the
// open editor and its pending edit stay as they were; a window whose commit showed what the copy
// holds shows the case again.
CaseCopy copyOf(TCaseForm& form, const TAutosave::Uncommitted& uncommitted)
{
    CaseCopy copy{std::make_shared<TCaseData>()};
    copy.data->Assign(form.data());
    if (!uncommitted.any())
        return copy;
    const PendingCellEdit pending = uncommitted.cell;
    const QPointer<WorkshopGrid> grid = qobject_cast<WorkshopGrid*>(pending.grid);
    const QPointer<TChildForm> gridWindow = windowOf(grid);
    {
        const CaseDocument::CopyScope intoCopy(form.document(), *copy.data);
        QuietPrompts quiet;
        const ScopedPrompts answered(quiet);
        if (grid)
            grid->commitCellText(pending.col, pending.row, pending.text);
        if (QComboBox* box = uncommitted.box ? focusedNamingBox(form) : nullptr)
            qobject_cast<TWorkshopForm*>(windowOf(box))->commitTypedNameToCopy();
        copy.uncommittedWentIn = intoCopy.changed();
    }
    if (gridWindow)
        gridWindow->sendRefresh();
    // Still typed and still not in the case, whatever the commit and the refresh did to it.
    if (grid)
        protocol::pendingCellEdit(grid) = pending;
    return copy;
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
        const Uncommitted uncommitted = uncommittedOf(*form);
        Tracked& tracked = track(*form);
        // A new or freshly opened case starts at change count 0, so one the user has not touched
        // gets no copy.
        if ((!data.Modified && !uncommitted.any())
            || (changes == tracked.copiedAt && uncommitted == tracked.uncommittedCopied))
            continue;

        // The only part on the GUI thread: the windows change the case here, so the copy is taken here.
        CaseCopy taken = copyOf(*form, uncommitted);
        tracked.uncommittedCopied = uncommitted;
        if (!data.Modified && !taken.uncommittedWentIn)
            continue; // the box held nothing new after all
        std::shared_ptr<TCaseData> copy = std::move(taken.data);
        if (tracked.id.isEmpty())
            tracked.id = session_.newEntryId();
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

TAutosave::Uncommitted TAutosave::uncommittedOf(const TCaseForm& form)
{
    Uncommitted uncommitted;
    for (const TWorkshopForm* window : form.workshopWindows()) {
        const PendingCellEdit& pending = window->editState().pendingCellEdit;
        if (pending.pending() && qobject_cast<WorkshopGrid*>(pending.grid)) {
            uncommitted.cell = pending;
            break;
        }
    }
    if (const QComboBox* box = focusedNamingBox(form)) {
        uncommitted.box = box;
        uncommitted.boxText = box->currentText();
    }
    return uncommitted;
}

bool TAutosave::Uncommitted::operator==(const Uncommitted& other) const
{
    return cell.grid == other.cell.grid && cell.col == other.cell.col && cell.row == other.cell.row
        && cell.text == other.cell.text && box == other.box && boxText == other.boxText;
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
            tracked.uncommittedCopied = {};
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
    tracked.uncommittedCopied = {};
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
