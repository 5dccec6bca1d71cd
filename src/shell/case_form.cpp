#include "shell/case_form.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "widgets/cp1252_text_edit.h"
#include "shell/protocol_state.h"
#include "shell/workshop_form.h"
#include "widgets/text_convert.h"

#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

TCaseForm::TCaseForm(QWidget* parent) : TChildForm(parent), document_(new CaseDocument(this))
{
    connect(document_, &CaseDocument::undoAvailabilityChanged, this, &TCaseForm::undoAvailabilityChanged);
    connect(document_, &CaseDocument::redoAvailabilityChanged, this, &TCaseForm::redoAvailabilityChanged);

    auto* lblTitle = new QLabel(tr("&Title:"), this);
    edtTitle = new QLineEdit(this);
    edtTitle->setObjectName(QStringLiteral("edtTitle"));
    edtTitle->setMaxLength(kTitleMaxLength);
    edtTitle->setValidator(new Cp1252Validator(edtTitle));
    lblTitle->setBuddy(edtTitle);

    auto* lblDesc = new QLabel(tr("&Description:"), this);
    edtDesc = new Cp1252PlainTextEdit(this);
    edtDesc->setObjectName(QStringLiteral("edtDesc"));
    edtDesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Undo is the case's own (Edit > Undo); the field's private history would bypass it.
    edtDesc->setUndoRedoEnabled(false);
    lblDesc->setBuddy(edtDesc);

    auto* layout = new QGridLayout(this);
    layout->addWidget(lblTitle, 0, 0);
    layout->addWidget(edtTitle, 1, 0);
    layout->addWidget(lblDesc, 2, 0);
    layout->addWidget(edtDesc, 3, 0);
    layout->setRowStretch(3, 1);
    setFixedSize(343, 185);

    connect(edtTitle, &QLineEdit::textEdited, this, &TCaseForm::fieldEdited);
    connect(edtDesc, &QPlainTextEdit::textChanged, this, &TCaseForm::fieldEdited);

    wmRetitle();
    sendRefresh();
}

TCaseForm::~TCaseForm() = default;

TWorkshopForm* TCaseForm::workshopWindow(int identifier) const
{
    for (const QPointer<TWorkshopForm>& workshop : workshops_)
        if (workshop && workshop->identifier() == identifier)
            return workshop;
    return nullptr;
}

QList<TWorkshopForm*> TCaseForm::workshopWindows() const
{
    QList<TWorkshopForm*> open;
    for (const QPointer<TWorkshopForm>& workshop : workshops_)
        if (workshop)
            open.append(workshop);
    return open;
}

void TCaseForm::addWorkshopWindow(TWorkshopForm* workshop)
{
    workshops_.removeIf([](const QPointer<TWorkshopForm>& gone) { return gone.isNull(); });
    workshops_.append(workshop);
}

void TCaseForm::removeWorkshopWindow(TWorkshopForm* workshop)
{
    workshops_.removeIf([workshop](const QPointer<TWorkshopForm>& open) { return open.isNull() || open == workshop; });
}

bool TCaseForm::LoadCase(const QString& path, CaseFileError* error)
{
    if (auto failure = document_->load(QFile::encodeName(path).toStdString())) {
        if (error)
            *error = *failure;
        return false;
    }
    wmRetitle();
    sendRefresh();
    return true;
}

bool TCaseForm::Undo()
{
    return edit().undo();
}

bool TCaseForm::Redo()
{
    return edit().redo();
}

void TCaseForm::SetModified()
{
    edit().setModified();
}

void TCaseForm::wmCommit()
{
    CaseEdit direct(data());
    storeFields(direct);
}

void TCaseForm::storeFields(CaseEdit& edit)
{
    edit.assign(data().Title, shownModelText(data().Title, edtTitle->text()));
    edit.assign(data().Description, shownModelText(data().Description, edtDesc->plainText()));
}

void TCaseForm::wmRefresh()
{
    protocol::UpdatingGuard guard(this);
    const QString title = toQt(data().Title);
    // A stored title longer than the typing limit is shown whole rather than cut, so that committing
    // the field can never shorten it.
    edtTitle->setMaxLength(std::max<int>(kTitleMaxLength, static_cast<int>(title.size())));
    edtTitle->setText(title);
    const QString description = toQt(data().Description);
    if (edtDesc->plainText() != description)
        edtDesc->setPlainText(description);
}

void TCaseForm::fieldEdited()
{
    if (protocol::updating(this))
        return;
    const bool changes = shownTextDiffers(data().Title, edtTitle->text())
        || shownTextDiffers(data().Description, edtDesc->plainText());
    if (edit().beginFieldsIf(changes))
        storeFields(edit());
}

void TCaseForm::closeEvent(QCloseEvent* event)
{
    if (!closeApproved_) {
        bool allow = true;
        emit closeRequested(this, &allow);
        if (!allow) {
            event->ignore();
            return;
        }
    }
    closeApproved_ = true;
    emit closing(this);
    event->accept();
}
