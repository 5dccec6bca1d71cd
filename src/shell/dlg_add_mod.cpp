#include "shell/dlg_add_mod.h"

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QPointer<TDlgAddMod>& sharedDialog()
{
    static QPointer<TDlgAddMod> dialog;
    return dialog;
}
} // namespace

TDlgAddMod::TDlgAddMod(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Add/Modify Item?"));

    auto* Label1 = new QLabel(
        tr("You have typed in an element that does not exist in the list. What would you like to do?"), this);
    Label1->setWordWrap(true);

    auto* GroupBox1 = new QGroupBox(this);
    rdAdd = new QRadioButton(tr("&Add a new element with this name"), GroupBox1);
    rdAdd->setObjectName(QStringLiteral("rdAdd"));
    rdMod = new QRadioButton(tr("&Modify the name of the current element to the text typed"), GroupBox1);
    rdMod->setObjectName(QStringLiteral("rdMod"));
    auto* choices = new QVBoxLayout(GroupBox1);
    choices->addWidget(rdAdd);
    choices->addWidget(rdMod);

    auto* Button1 = new QPushButton(tr("OK"), this);
    auto* Button2 = new QPushButton(tr("Cancel"), this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Wide enough for the longer choice in the user's font, never narrower than the classic 297.
    GroupBox1->setMinimumWidth(301);
    Label1->setMinimumWidth(std::max(297, GroupBox1->sizeHint().width()));

    rdAdd->setChecked(true);
}

void TDlgAddMod::showEvent(QShowEvent* event)
{
    rdAdd->setChecked(true);
    rdAdd->setFocus();
    QDialog::showEvent(event);
}

AddModAnswer TDlgAddMod::ask(bool modifyAllowed)
{
    rdMod->setEnabled(modifyAllowed);
    rdAdd->setChecked(true);
    if (exec() != QDialog::Accepted)
        return AddModAnswer::Cancelled;
    return rdMod->isChecked() && modifyAllowed ? AddModAnswer::Rename : AddModAnswer::Add;
}

TDlgAddMod& TDlgAddMod::shared()
{
    auto& dialog = sharedDialog();
    if (!dialog)
        dialog = new TDlgAddMod(promptParent());
    return *dialog;
}

void TDlgAddMod::setShared(TDlgAddMod* dialog)
{
    sharedDialog() = dialog;
}
