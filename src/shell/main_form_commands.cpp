// The commands of the main window and the delivery of the window-protocol messages.

#include "shell/main_form.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "report/case_report.h"
#include "shell/autosave.h"
#include "shell/case_form.h"
#include "shell/case_lock.h"
#include "shell/clipboard_commands.h"
#include "shell/print_progress_form.h"
#include "shell/prompts.h"
#include "shell/protocol_state.h"
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

const QString kCaseFilter = QStringLiteral("Corvantix Files (*.cvx)");
const QString kReportFilter = QStringLiteral("RTF files (*.rtf)");

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

// The user's thousands separator in the model's code page; one the code page lacks (some locales
// use a narrow no-break space) becomes the ordinary no-break space, or a comma.
std::string reportThousandsSeparator()
{
    const QString separator = QLocale().groupSeparator();
    bool lossless = true;
    std::string bytes = toModel(separator, &lossless);
    if (lossless)
        return bytes;
    return separator.size() == 1 && separator.at(0).isSpace() ? std::string("\xA0") : std::string(",");
}

// Busy cursor and progress window for the duration of a report build, restored on every way out.
class ExportFeedback {
public:
    ExportFeedback() : progress_(TPrintProgressForm::shared()) { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~ExportFeedback()
    {
        progress_.hide();
        QApplication::restoreOverrideCursor();
    }
    ExportFeedback(const ExportFeedback&) = delete;
    ExportFeedback& operator=(const ExportFeedback&) = delete;

    void section(int n)
    {
        if (!progress_.isVisible())
            progress_.show();
        progress_.setSection(n);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    TPrintProgressForm& progress_;
};

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
    FileDialogRequest request{tr("Open"), kCaseFilter, QStringLiteral("cvx"), proposedOpenPath_, 30000};
    const QString path = prompts().openFileName(request);
    if (!path.isEmpty())
        openCaseFile(path);
}

TCaseForm* TMainForm::openCaseFile(const QString& path)
{
    const QString fullPath = QFileInfo(path).absoluteFilePath();
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
    return opened;
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
    FileDialogRequest request{tr("Save As"), kCaseFilter, QStringLiteral("cvx"),
                              displayFileName(form.data().FileName), 30010};
    const QString chosen = prompts().saveFileName(request);
    if (chosen.isEmpty())
        return false;
    const QString path = QFileInfo(chosen).absoluteFilePath();
    CaseLockHolder holder;
    if (case_lock::heldElsewhere(path, &holder)
        && !prompts().yesNo(case_lock::heldElsewhereQuestion(path, holder, tr("Save it anyway?"))))
        return false;
    if (!writeCase(form, path))
        return false;
    case_lock::claim(&form, path);
    form.data().FileName = toFileSystemPath(path);
    broadcastRetitle();
    AddRecentFile(path);
    return true;
}

bool TMainForm::writeCase(TCaseForm& form, const QString& path)
{
    if (auto error = saveCaseFile(form.data(), toFileSystemPath(path))) {
        // FileName and Modified stay as they were, and the file on disk is untouched.
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
    QString proposed;
    if (hasFile(form.data())) {
        const QFileInfo caseFile(displayFileName(form.data().FileName));
        proposed = caseFile.dir().filePath(caseFile.completeBaseName() + QStringLiteral(".rtf"));
    }
    FileDialogRequest request{tr("Export to RTF"), kReportFilter, QStringLiteral("rtf"), proposed, 0};
    const QString path = prompts().saveFileName(request);
    if (path.isEmpty())
        return;
    // What the user sees in the windows is what the report shows.
    broadcastCommit();

    QStringList warnings;
    std::optional<std::string> failure;
    {
        ExportFeedback feedback;
        ReportOptions options;
        options.thousandsSeparator = reportThousandsSeparator();
        options.progress = [&feedback](int section) { feedback.section(section); };
        options.warn = [&warnings](const std::string& message) { warnings.append(toQt(message)); };
        failure = exportCaseReport(form.data(), toFileSystemPath(path), options);
    }
    for (const QString& warning : std::as_const(warnings))
        prompts().warning(warning);
    if (failure)
        prompts().error(tr("The report could not be written.\n\n%1").arg(fromFileSystemText(*failure)));
    else
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
    if (broadcastShowWorkshop(owner, identifier)) {
        for (TChildForm* child : childForms()) {
            auto* workshop = qobject_cast<TWorkshopForm*>(child);
            if (workshop && workshop->caseForm() == owner && workshop->identifier() == identifier)
                return workshop;
        }
        return nullptr;
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

bool TMainForm::broadcastShowWorkshop(TCaseForm* caseForm, int identifier)
{
    protocol::foundAnswer() = false;
    deliverBackwards(childForms(),
                     [caseForm, identifier](TChildForm& child) { child.wmShowWorkshop(caseForm, identifier); });
    return protocol::foundAnswer();
}
