#include "shell/workshop_form.h"

#include "model/case_data.h"
#include "shell/case_form.h"
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
    wmRetitle();
    sendRefresh();
}

TCaseData& TWorkshopForm::data() const
{
    Q_ASSERT(case_);
    return case_->data();
}

bool TWorkshopForm::beginEdit()
{
    if (protocol::updating() || !case_)
        return false;
    SaveUndoState();
    SetModified();
    return true;
}

void TWorkshopForm::SaveUndoState()
{
    if (case_)
        case_->SaveUndoState();
}

void TWorkshopForm::SetModified()
{
    if (case_)
        case_->SetModified();
}

void TWorkshopForm::activated()
{
    if (case_)
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

void TWorkshopForm::wmShowWorkshop(TCaseForm* caseForm, int identifier)
{
    if (caseForm != case_ || identifier != identifier_)
        return;
    QWidget* frame = subWindow() ? static_cast<QWidget*>(subWindow()) : this;
    frame->show();
    if (auto* sub = subWindow(); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    frame->raise();
    protocol::foundAnswer() = true;
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
}
