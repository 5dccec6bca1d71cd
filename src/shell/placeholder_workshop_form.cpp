#include "shell/placeholder_workshop_form.h"

#include "model/case_data.h"
#include "widgets/text_convert.h"

#include <QLabel>
#include <QVBoxLayout>

TPlaceholderWorkshopForm::TPlaceholderWorkshopForm(int identifier, QWidget* parent)
    : TWorkshopForm(identifier, parent)
{
    auto* heading = new QLabel(QStringLiteral("<h3>%1</h3>").arg(captionWord().toHtmlEscaped()), this);
    auto* note = new QLabel(tr("This workshop is not available in this version yet."), this);
    note->setWordWrap(true);
    caseTitle_ = new QLabel(this);
    caseTitle_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(note);
    layout->addWidget(caseTitle_);
    layout->addStretch();
    resize(420, 220);
}

void TPlaceholderWorkshopForm::wmRefresh()
{
    ++refreshCount_;
    const QString title = toQt(data().Title);
    caseTitle_->setText(title.isEmpty() ? tr("Case without a title") : tr("Case: %1").arg(title));
}
