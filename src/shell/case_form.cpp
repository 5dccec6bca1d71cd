#include "shell/case_form.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "model/case_references.h"
#include "widgets/cp1252_text_edit.h"
#include "shell/protocol_state.h"
#include "widgets/text_convert.h"

#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

TCaseForm::TCaseForm(QWidget* parent)
    : TChildForm(parent), data_(std::make_unique<TCaseData>()), edit_(*data_, undo_)
{
    edit_.setUndoObserver([this](bool available) { emit undoAvailabilityChanged(available); });
    edit_.setRedoObserver([this](bool available) { emit redoAvailabilityChanged(available); });

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

TCaseForm::CopyScope::CopyScope(TCaseForm& form, TCaseData& copy) : form_(form), edit_(copy)
{
    Q_ASSERT(form.active_ == form.data_.get());
    form.active_ = &copy;
    form.activeEdit_ = &edit_;
}

TCaseForm::CopyScope::~CopyScope()
{
    form_.active_ = form_.data_.get();
    form_.activeEdit_ = &form_.edit_;
}

bool TCaseForm::LoadCase(const QString& path, CaseFileError* error)
{
    const std::string fileName = QFile::encodeName(path).toStdString();
    if (auto failure = loadCaseFile(fileName, *data_)) {
        if (error)
            *error = *failure;
        return false;
    }
    data_->FileName = fileName;
    data_->Modified = false;
    // Positions past the end of their lists would name whatever entry is added next. Removing
    // them changes the case, so closing asks; it is no step to undo into the damaged state.
    danglingReferencesRemoved_ = removeDanglingReferences(*data_);
    if (danglingReferencesRemoved_ > 0)
        edit_.setModified();
    wmRetitle();
    sendRefresh();
    return true;
}

void TCaseForm::SaveUndoState()
{
    edit_.snapshot();
}

bool TCaseForm::Undo()
{
    return edit_.undo();
}

bool TCaseForm::Redo()
{
    return edit_.redo();
}

void TCaseForm::SetModified()
{
    edit_.setModified();
}

void TCaseForm::wmCommit()
{
    CaseEdit direct(*data_);
    storeFields(direct);
}

void TCaseForm::storeFields(CaseEdit& edit)
{
    edit.assign(data_->Title, shownModelText(data_->Title, edtTitle->text()));
    edit.assign(data_->Description, shownModelText(data_->Description, edtDesc->plainText()));
}

void TCaseForm::wmRefresh()
{
    protocol::UpdatingGuard guard;
    const QString title = toQt(data_->Title);
    // A stored title longer than the typing limit is shown whole rather than cut, so that committing
    // the field can never shorten it.
    edtTitle->setMaxLength(std::max<int>(kTitleMaxLength, static_cast<int>(title.size())));
    edtTitle->setText(title);
    const QString description = toQt(data_->Description);
    if (edtDesc->plainText() != description)
        edtDesc->setPlainText(description);
}

void TCaseForm::fieldEdited()
{
    if (protocol::updating())
        return;
    const bool changes = shownTextDiffers(data_->Title, edtTitle->text())
        || shownTextDiffers(data_->Description, edtDesc->plainText());
    if (edit_.beginFieldsIf(changes))
        storeFields(edit_);
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
