// The commands of the main window and the delivery of the window-protocol messages.

#include "shell/main_form.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "report/case_report.h"
#include "shell/autosave.h"
#include "shell/background_export.h"
#include "shell/case_form.h"
#include "shell/case_lock.h"
#include "shell/clipboard_commands.h"
#include "shell/prompts.h"
#include "shell/workshop_factory.h"
#include "shell/workshop_form.h"
#include "widgets/text_convert.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

namespace {

constexpr int kStatusMessageMilliseconds = 5000;

// A new case is named "untitled" until it is first saved.
bool hasFile(const TCaseData& data)
{
    return data.FileName != "untitled";
}

std::string toFileSystemPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString fromFileSystemText(const std::string& text)
{
    return QFile::decodeName(QByteArray::fromStdString(text));
}

// One name per file, however the path spells it: links and "." and ".." resolved. A file that does
// not exist yet is named by its resolved folder.
QString fileIdentity(const QString& path)
{
    const QFileInfo info(path);
    if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty())
        return canonical;
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

} // namespace

// ---- Cases

TCaseForm* TMainForm::New()
{
    auto* form = new TCaseForm;
    QMdiSubWindow* frame = addChild(form);
    frame->show();
    mdiArea_->setActiveSubWindow(frame);
    return form;
}

void TMainForm::Open()
{
    FileDialogRequest request{tr("Open"), tr("Corvantix Files (*.cvx)"), QStringLiteral("cvx"), proposedOpenPath_, 30000};
    const QString path = prompts().openFileName(request);
    if (!path.isEmpty())
        openCaseFile(path);
}

TCaseForm* TMainForm::openCaseFile(const QString& path)
{
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    // Two windows on one file would each save over the other's work.
    if (TCaseForm* open = caseWindowOf(fullPath)) {
        showCaseWindow(*open);
        statusBar()->showMessage(tr("'%1' is open already.").arg(QDir::toNativeSeparators(fullPath)),
                                 kStatusMessageMilliseconds);
        return open;
    }
    auto form = std::make_unique<TCaseForm>();
    if (!claimCaseFile(form.get(), fullPath))
        return nullptr;
    CaseFileError error;
    if (!form->LoadCase(fullPath, &error)) {
        prompts().warning(tr("Error opening file."), fromFileSystemText(error.message));
        return nullptr;
    }
    TCaseForm* opened = form.release();
    QMdiSubWindow* frame = addChild(opened);
    frame->show();
    mdiArea_->setActiveSubWindow(frame);
    AddRecentFile(fullPath);
    if (const int removed = opened->danglingReferencesRemoved()) {
        const QString text = removed == 1
            ? tr("'%1' held a reference to an entry that does not exist. It was removed.").arg(fullPath)
            : tr("'%1' held %2 references to entries that do not exist. They were removed.").arg(fullPath).arg(removed);
        prompts().warning(text);
    }
    return opened;
}

TCaseForm* TMainForm::caseWindowOf(const QString& path, const TCaseForm* except) const
{
    const QString wanted = fileIdentity(path);
    for (TCaseForm* form : caseForms())
        if (form != except && hasFile(form->data()) && fileIdentity(displayFileName(form->data().FileName)) == wanted)
            return form;
    return nullptr;
}

void TMainForm::showCaseWindow(TCaseForm& form)
{
    if (QMdiSubWindow* frame = form.subWindow()) {
        frame->showNormal();
        mdiArea_->setActiveSubWindow(frame);
    }
}

void TMainForm::openRecentFile(const QString& path)
{
    proposedOpenPath_ = path;
    openCaseFile(path);
}

void TMainForm::openStartupFile()
{
    if (startupFile_.isEmpty())
        return;
    const QString path = startupFile_;
    startupFile_.clear();
    openCaseFile(path);
}

void TMainForm::Close()
{
    if (TCaseForm* form = currentCase())
        form->subWindow()->close();
}

bool TMainForm::queryCloseCase(TCaseForm& form)
{
    broadcastCommit();
    if (!form.data().Modified)
        return true;
    const QString question =
        tr("Save changes to '%1'?").arg(displayFileName(form.data().FileName));
    switch (prompts().saveChanges(question)) {
    case SaveChangesAnswer::Yes:
        return saveCase(form);
    case SaveChangesAnswer::No:
        return true;
    case SaveChangesAnswer::Cancel:
        break;
    }
    return false;
}

bool TMainForm::Save()
{
    TCaseForm* form = currentCase();
    return form && saveCase(*form);
}

bool TMainForm::SaveAs()
{
    TCaseForm* form = currentCase();
    return form && saveCaseAs(*form);
}

bool TMainForm::saveCase(TCaseForm& form)
{
    broadcastCommit();
    // A case that never had a file is named the way Save As names one.
    if (!hasFile(form.data()))
        return saveCaseAs(form);
    return writeCase(form, displayFileName(form.data().FileName));
}

bool TMainForm::saveCaseAs(TCaseForm& form)
{
    broadcastCommit();
    FileDialogRequest request{tr("Save As"), tr("Corvantix Files (*.cvx)"), QStringLiteral("cvx"),
                              displayFileName(form.data().FileName), 30010};
    const QString chosen = prompts().saveFileName(request);
    if (chosen.isEmpty())
        return false;
    const QString path = QFileInfo(chosen).absoluteFilePath();
    if (caseWindowOf(path, &form)) {
        prompts().warning(tr("'%1' is open in another case window. Close that case first, or save "
                             "this one under another name.")
                              .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    // The new file's lock is taken before writing and held apart until the write succeeds, so a
    // failed save leaves the window with the lock it had.
    QObject newLock;
    CaseLockHolder holder;
    const CaseLockResult locked = case_lock::claim(&newLock, path, &holder);
    if (locked == CaseLockResult::HeldElsewhere
        && !prompts().yesNo(case_lock::heldElsewhereQuestion(path, holder, tr("Save it anyway?"))))
        return false;
    if (!writeCase(form, path))
        return false;
    // The window now edits the new file: the old file's lock goes in any case.
    if (locked == CaseLockResult::Locked)
        case_lock::claim(&form, path);
    else
        case_lock::release(&form);
    form.data().FileName = toFileSystemPath(path);
    broadcastRetitle();
    AddRecentFile(path);
    return true;
}

bool TMainForm::writeCase(TCaseForm& form, const QString& path)
{
    if (auto error = saveCaseFile(form.data(), toFileSystemPath(path))) {
        // FileName and Modified stay as they were, and the file on disk is untouched.
        if (error->readOnly)
            prompts().warning(tr("'%1' is read-only. Use Save As to keep your changes.").arg(path));
        else
            prompts().error(tr("Error saving file.\n\n%1").arg(fromFileSystemText(error->message)));
        return false;
    }
    form.data().Modified = false;
    autosave_->caseSaved(form);
    return true;
}

bool TMainForm::claimCaseFile(QObject* owner, const QString& path)
{
    CaseLockHolder holder;
    if (case_lock::claim(owner, path, &holder) != CaseLockResult::HeldElsewhere)
        return true;
    return prompts().yesNo(case_lock::heldElsewhereQuestion(path, holder, tr("Open it anyway?")));
}

void TMainForm::ExportCase()
{
    if (TCaseForm* form = currentCase())
        exportCase(*form);
}

void TMainForm::exportCase(TCaseForm& form)
{
    const QString path = askReportPath(form, tr("Export to RTF"), tr("RTF files (*.rtf)"), QStringLiteral("rtf"));
    if (path.isEmpty())
        return;
    const std::string target = toFileSystemPath(path);
    if (runReportJob(form.data(), tr("The report could not be written.\n\n%1"),
                     [&](const TCaseData& copy, const ReportOptions& options) { return exportCaseReport(copy, target, options); }))
        statusBar()->showMessage(tr("Report written to %1").arg(QDir::toNativeSeparators(path)));
}

void TMainForm::Exit()
{
    close();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // Every case is asked first; one Cancel keeps everything open.
    const QList<TCaseForm*> cases = caseForms();
    for (TCaseForm* form : cases) {
        if (!queryCloseCase(*form)) {
            event->ignore();
            return;
        }
    }
    for (TCaseForm* form : cases) {
        form->setCloseApproved(true);
        form->subWindow()->close();
    }
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        window->close();
    event->accept();
}

void TMainForm::AddRecentFile(const QString& path)
{
    if (recent_.add(path))
        rebuildRecentFileMenu();
}

// ---- Edit commands

void TMainForm::Undo()
{
    if (cellEditorOpenAt(focusedControl())) {
        prompts().beep();
        return;
    }
    TCaseForm* form = currentCase();
    if (!form)
        return;
    if (form->Undo())
        broadcastRefresh();
    setUndoEnabled(form->undoCount() > 0);
}

void TMainForm::Redo()
{
    // As Undo: what an open cell editor holds is not yet an edit of the case.
    if (cellEditorOpenAt(focusedControl())) {
        prompts().beep();
        return;
    }
    TCaseForm* form = currentCase();
    if (form && form->Redo())
        broadcastRefresh();
}

void TMainForm::Cut()
{
    runClipboardCommand(ClipboardCommand::Cut, focusedControl());
}

void TMainForm::Copy()
{
    runClipboardCommand(ClipboardCommand::Copy, focusedControl());
}

void TMainForm::Paste()
{
    runClipboardCommand(ClipboardCommand::Paste, focusedControl());
}

// ---- Workshops and the window protocol

TWorkshopForm* TMainForm::OpenWorkshop(int identifier)
{
    TCaseForm* owner = currentCase();
    if (!owner)
        return nullptr;
    if (TWorkshopForm* open = owner->workshopWindow(identifier)) {
        open->wmShowWorkshop();
        return open;
    }
    TWorkshopForm* workshop = createWorkshopForm(identifier);
    if (!workshop)
        return nullptr;
    QMdiSubWindow* frame = addChild(workshop);
    workshop->Init(owner);
    frame->show();
    mdiArea_->setActiveSubWindow(frame);
    return workshop;
}

QList<TChildForm*> TMainForm::childForms() const
{
    QList<TChildForm*> forms;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder))
        if (auto* form = qobject_cast<TChildForm*>(window->widget()))
            forms.append(form);
    return forms;
}

QList<TCaseForm*> TMainForm::caseForms() const
{
    QList<TCaseForm*> forms;
    for (TChildForm* child : childForms())
        if (auto* form = qobject_cast<TCaseForm*>(child))
            forms.append(form);
    return forms;
}

TChildForm* TMainForm::activeChild() const
{
    QMdiSubWindow* window = mdiArea_->currentSubWindow();
    if (!window) {
        const auto history = mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
        if (!history.isEmpty())
            window = history.last();
    }
    return window ? qobject_cast<TChildForm*>(window->widget()) : nullptr;
}

TCaseForm* TMainForm::currentCase() const
{
    TChildForm* child = activeChild();
    return child ? child->caseForm() : nullptr;
}

QWidget* TMainForm::focusedControl() const
{
    TChildForm* child = activeChild();
    if (!child)
        return nullptr;
    QWidget* focused = QApplication::focusWidget();
    if (focused && child->isAncestorOf(focused))
        return focused;
    return child->focusWidget();
}

namespace {

// Delivers to each child from the last to the first. Windows may destroy themselves on the way
// (wmCaseClosed), so each is held by a guarded pointer.
template <class Deliver>
void deliverBackwards(const QList<TChildForm*>& children, Deliver deliver)
{
    QList<QPointer<TChildForm>> guarded;
    for (TChildForm* child : children)
        guarded.append(child);
    for (auto it = guarded.crbegin(); it != guarded.crend(); ++it)
        if (TChildForm* child = *it)
            deliver(*child);
}

} // namespace

void TMainForm::broadcastCommit()
{
    deliverBackwards(childForms(), [](TChildForm& child) { child.sendCommit(); });
}

void TMainForm::broadcastRefresh()
{
    deliverBackwards(childForms(), [](TChildForm& child) { child.sendRefresh(); });
}

void TMainForm::broadcastCaseClosed(TCaseForm* closing)
{
    deliverBackwards(childForms(), [closing](TChildForm& child) { child.wmCaseClosed(closing); });
}

void TMainForm::broadcastRetitle()
{
    deliverBackwards(childForms(), [](TChildForm& child) { child.wmRetitle(); });
}

void TMainForm::showCaseChanges(TCaseForm& form)
{
    const TChildForm* active = activeChild();
    // Behind a maximised window nothing else is in sight.
    if (active && active->subWindow() && active->subWindow()->isMaximized())
        return;
    for (TWorkshopForm* workshop : form.workshopWindows()) {
        const QMdiSubWindow* frame = workshop->subWindow();
        if (workshop != active && frame && frame->isVisible() && !frame->isMinimized())
            workshop->showCaseChanges();
    }
}
