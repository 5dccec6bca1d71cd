// The main window's part of crash recovery: offering at start what a run that did not end normally
// left in the recovery folder, and opening a recovered case.

#include "shell/main_form.h"

#include "model/case_data.h"
#include "shell/autosave.h"
#include "shell/case_form.h"
#include "shell/case_lock.h"
#include "shell/prompts.h"
#include "shell/recovery_store.h"
#include "widgets/text_convert.h"

#include <QDir>
#include <QFile>
#include <QStatusBar>

void TMainForm::startUp()
{
    if (startedUp_)
        return;
    startedUp_ = true;
    if (!autosave_->session().usable())
        prompts().warning(tr("Corvantix cannot keep recovery copies of your cases in '%1', so changes that are "
                             "not saved are lost if the program does not end normally. Save often.")
                              .arg(QDir::toNativeSeparators(autosave_->session().folder())));
    offerRecovery();
    openStartupFile();
}

void TMainForm::offerRecovery()
{
    if (recoveryOffered_)
        return;
    recoveryOffered_ = true;

    // Holds the ended sessions until every choice is carried out, so a second program starting now
    // does not offer the same cases.
    const RecoveryScan scan(autosave_->session().folder(), autosave_->session().id());
    if (!scan.damaged().isEmpty())
        prompts().warning(tr("A recovery copy from the last run could not be read. It was set aside and is not offered."),
                          scan.damaged().join(QLatin1Char('\n')));
    const std::vector<RecoveryEntry>& entries = scan.entries();
    if (entries.empty())
        return;

    QList<RecoveryOffer> offers;
    for (const RecoveryEntry& entry : entries) {
        const QString name = entry.originalPath.isEmpty() ? QStringLiteral("untitled")
                                                          : QDir::toNativeSeparators(entry.originalPath);
        offers.append(RecoveryOffer{name, toQt(entry.data->Title), entry.time, entry.fileTime, entry.fileIsNewer()});
    }
    const QList<RecoveryChoice> choices = prompts().askRecovery(offers);
    for (std::size_t i = 0; i < entries.size() && i < static_cast<std::size_t>(choices.size()); ++i) {
        switch (choices[static_cast<qsizetype>(i)]) {
        case RecoveryChoice::Open:
            openRecoveredCase(entries[i]);
            break;
        case RecoveryChoice::Discard:
            recovery::removeEntry(entries[i].folder, entries[i].id);
            break;
        case RecoveryChoice::Keep:
            break;
        }
    }
}

TCaseForm* TMainForm::openRecoveredCase(const RecoveryEntry& entry)
{
    if (!entry.data)
        return nullptr;
    const bool hasPath = !entry.originalPath.isEmpty();
    const QString shownPath = QDir::toNativeSeparators(entry.originalPath);
    // In each case below the copy stays and is offered again at the next start.
    if (TCaseForm* open = hasPath ? caseWindowOf(entry.originalPath) : nullptr) {
        showCaseWindow(*open);
        prompts().warning(tr("'%1' is open already, so its recovery copy from %2 was not opened. The copy is "
                             "kept and offered again at the next start.")
                              .arg(shownPath, displayFileTime(entry.time)));
        return nullptr;
    }
    if (hasPath && entry.fileIsNewer()
        && !prompts().yesNo(tr("'%1' was saved on %2, after its recovery copy was made (%3). Open the older copy "
                               "anyway? Saving it would replace the newer file.")
                                .arg(shownPath, displayFileTime(entry.fileTime), displayFileTime(entry.time))))
        return nullptr;
    CaseLockHolder holder;
    if (hasPath && case_lock::heldElsewhere(entry.originalPath, &holder)
        && !prompts().yesNo(case_lock::heldElsewhereQuestion(entry.originalPath, holder,
                                                             tr("Open the recovered case anyway?"))))
        return nullptr;

    TCaseForm* form = New();
    form->data().Assign(*entry.data);
    form->data().FileName = hasPath ? QFile::encodeName(entry.originalPath).toStdString() : std::string("untitled");
    // Nothing of it is saved: Save writes it where the user expects, and closing asks first.
    form->edit().setModified();
    if (hasPath)
        case_lock::claim(form, entry.originalPath);
    form->wmRetitle();
    form->sendRefresh();
    if (!autosave_->adopt(*form, entry))
        statusBar()->showMessage(tr("The recovery copy could not be taken over; it is offered again at the next start."));
    return form;
}
