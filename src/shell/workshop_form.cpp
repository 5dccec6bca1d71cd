#include "shell/workshop_form.h"

#include "model/case_data.h"
#include "model/case_edit.h"
#include "shell/case_form.h"
#include "shell/prompts.h"
#include "shell/protocol_state.h"
#include "shell/workshop_catalog.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

TWorkshopForm::TWorkshopForm(int identifier, QWidget* parent) : TChildForm(parent), identifier_(identifier) {}

void TWorkshopForm::Init(TCaseForm* caseForm)
{
    Q_ASSERT(!case_ && caseForm);
    case_ = caseForm;
    caseForm->addWorkshopWindow(this);
    wmRetitle();
    sendRefresh();
}

TCaseForm* TWorkshopForm::caseForm() const
{
    return case_;
}

TCaseData& TWorkshopForm::data() const
{
    Q_ASSERT(case_);
    return case_->data();
}

CaseEdit& TWorkshopForm::edit() const
{
    Q_ASSERT(case_);
    return case_->edit();
}

Questions& TWorkshopForm::questions() const
{
    return promptQuestions();
}

bool TWorkshopForm::canEdit() const
{
    return case_ && !protocol::updating(this);
}

bool TWorkshopForm::refreshesOnActivation() const
{
    const auto* entry = findWorkshop(identifier_);
    return case_ && (!entry || entry->refreshOnActivation);
}

void TWorkshopForm::activated()
{
    if (refreshesOnActivation()) {
        activationRefresh();
        noteShown();
    }
}

void TWorkshopForm::showCaseChanges()
{
    if (!refreshesOnActivation() || showsCurrentCase())
        return;
    followCaseChanges();
    noteShown();
}

void TWorkshopForm::activationRefresh()
{
    sendRefresh();
}

QString TWorkshopForm::captionWord() const
{
    const auto* entry = findWorkshop(identifier_);
    return entry ? QString::fromLatin1(entry->captionWord) : QString();
}

int TWorkshopForm::helpContext() const
{
    const auto* entry = findWorkshop(identifier_);
    return entry ? entry->helpContext : 0;
}

QString TWorkshopForm::helpPage() const
{
    const auto* entry = findWorkshop(identifier_);
    return entry ? QString::fromLatin1(entry->helpPage) : QStringLiteral("contents.html");
}

void TWorkshopForm::wmCaseClosed(TCaseForm* closing)
{
    sendCommit();
    if (closing == case_)
        destroyWindow();
}

void TWorkshopForm::wmShowWorkshop()
{
    QWidget* frame = subWindow() ? static_cast<QWidget*>(subWindow()) : this;
    frame->show();
    if (auto* sub = subWindow(); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    frame->raise();
}

void TWorkshopForm::destroyWindow()
{
    if (QMdiSubWindow* frame = subWindow()) {
        // Removing the frame from the area first keeps the area from activating a window that is
        // half destroyed.
        if (QMdiArea* area = frame->mdiArea())
            area->removeSubWindow(frame);
        delete frame;
    } else {
        delete this;
    }
}

void TWorkshopForm::closeEvent(QCloseEvent* event)
{
    sendCommit();
    event->accept();
    if (case_)
        case_->removeWorkshopWindow(this);
}
