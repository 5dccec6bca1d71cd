#include "shell/child_form.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "shell/protocol_state.h"
#include "widgets/date_format.h"

#include <QFile>
#include <QMdiSubWindow>

TChildForm::TChildForm(QWidget* parent) : QWidget(parent) {}

void TChildForm::wmCaseClosed(TCaseForm*) {}

void TChildForm::wmRetitle()
{
    const QString text = caption();
    setWindowTitle(text);
    if (auto* frame = subWindow())
        frame->setWindowTitle(text);
}

void TChildForm::sendCommit()
{
    wmCommit();
}

void TChildForm::sendRefresh()
{
    protocol::UpdatingGuard guard(this);
    wmRefresh();
    noteShown();
}

void TChildForm::noteShown()
{
    if (const TCaseForm* owner = caseForm()) {
        shownChange_ = owner->document().changeCount();
        shown_ = true;
    }
}

bool TChildForm::showsCurrentCase() const
{
    const TCaseForm* owner = caseForm();
    return owner && shown_ && shownChange_ == owner->document().changeCount();
}

QString TChildForm::caption() const
{
    const TCaseForm* owner = caseForm();
    const QString file = owner ? displayFileName(owner->data().FileName) : QStringLiteral("untitled");
    return file + QStringLiteral(" - ") + captionWord();
}

QSize TChildForm::sizeHint() const
{
    if (minimumSize() == maximumSize())
        return minimumSize();
    if (testAttribute(Qt::WA_Resized))
        return size();
    return QWidget::sizeHint();
}

QMdiSubWindow* TChildForm::subWindow() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

QString displayFileName(const std::string& fileName)
{
    return QFile::decodeName(QByteArray::fromStdString(fileName));
}

QString displayFileTime(const QDateTime& time)
{
    if (!time.isValid())
        return {};
    return formatProgramDate(time.date()) + QLatin1Char(' ') + time.time().toString(QStringLiteral("HH:mm:ss"));
}
