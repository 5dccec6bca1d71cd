#include "shell/print_progress_form.h"

#include "shell/prompts.h"

#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace {
QPointer<TPrintProgressForm>& sharedForm()
{
    static QPointer<TPrintProgressForm> form;
    return form;
}
} // namespace

TPrintProgressForm::TPrintProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::CustomizeWindowHint)
{
    setWindowTitle(QStringLiteral("Corvantix"));
    setModal(false);
    label_ = new QLabel(this);
    label_->setAlignment(Qt::AlignCenter);
    label_->setMinimumWidth(220);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->addWidget(label_);
    setFixedSize(280, 80);
}

void TPrintProgressForm::setSection(int section)
{
    label_->setText(tr("Exporting Section %1 of %2").arg(section).arg(kSections));
    label_->repaint();
    emit sectionShown(section);
}

QString TPrintProgressForm::text() const
{
    return label_->text();
}

TPrintProgressForm& TPrintProgressForm::shared()
{
    auto& form = sharedForm();
    if (!form)
        form = new TPrintProgressForm(promptParent());
    return *form;
}

void TPrintProgressForm::setShared(TPrintProgressForm* form)
{
    sharedForm() = form;
}
