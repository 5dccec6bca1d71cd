#include "shell/recovery_form.h"

#include "shell/child_form.h"
#include "shell/help_window.h"
#include "widgets/layout_scale.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kOfferRole = Qt::UserRole;
}

TRecoveryForm::TRecoveryForm(const QList<RecoveryOffer>& offers, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      choices_(offers.size(), RecoveryChoice::Keep)
{
    setWindowTitle(tr("Recover Cases"));
    help::registerTopic(kHelpContext, QStringLiteral("shell.html#recovery"));
    help::setHelpContext(this, kHelpContext);

    QString explanation = tr("Corvantix did not end normally. These cases had changes that were not "
                             "saved, and copies of them were kept. Open a case to go on with it and "
                             "save it, or discard its copy.");
    const bool anyOutdated =
        std::any_of(offers.cbegin(), offers.cend(), [](const RecoveryOffer& offer) { return offer.fileIsNewer; });
    if (anyOutdated)
        explanation += QLatin1Char(' ')
            + tr("A file marked \"newer\" was saved after its copy was made: saving that copy would "
                 "replace the newer file.");
    auto* lblExplain = new QLabel(explanation, this);
    lblExplain->setObjectName(QStringLiteral("lblExplain"));
    lblExplain->setWordWrap(true);

    lstCases = new QTreeWidget(this);
    lstCases->setObjectName(QStringLiteral("lstCases"));
    lstCases->setAccessibleName(tr("Recovered cases"));
    lstCases->setColumnCount(4);
    lstCases->setHeaderLabels({tr("Case"), tr("Title"), tr("Copy made"), tr("File saved")});
    lstCases->setRootIsDecorated(false);
    lstCases->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int i = 0; i < offers.size(); ++i) {
        const RecoveryOffer& offer = offers[i];
        QString saved = displayFileTime(offer.fileTime);
        if (offer.fileIsNewer)
            saved += QLatin1Char(' ') + tr("(newer)");
        auto* item = new QTreeWidgetItem(lstCases, {offer.caseName, offer.title, displayFileTime(offer.time), saved});
        item->setData(0, kOfferRole, i);
        item->setToolTip(0, offer.caseName);
        if (offer.fileIsNewer) {
            QFont bold = item->font(3);
            bold.setBold(true);
            item->setFont(3, bold);
        }
        item->setSelected(true);
    }
    for (int column = 0; column < 3; ++column)
        lstCases->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    lstCases->header()->setStretchLastSection(true);

    btnOpen = new QPushButton(tr("&Open"), this);
    btnOpen->setObjectName(QStringLiteral("btnOpen"));
    btnDiscard = new QPushButton(tr("&Discard"), this);
    btnDiscard->setObjectName(QStringLiteral("btnDiscard"));
    auto* btnLater = new QPushButton(tr("Decide &Later"), this);
    btnLater->setObjectName(QStringLiteral("btnLater"));
    btnOpen->setDefault(true);
    connect(btnOpen, &QPushButton::clicked, this, [this] { decide(RecoveryChoice::Open); });
    connect(btnDiscard, &QPushButton::clicked, this, [this] {
        if (QMessageBox::question(this, QStringLiteral("Corvantix"),
                                  tr("Discard the copies of the selected cases? Their unsaved changes are lost."),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes)
            decide(RecoveryChoice::Discard);
    });
    connect(btnLater, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstCases, &QTreeWidget::itemSelectionChanged, this, &TRecoveryForm::updateButtons);
    connect(lstCases, &QTreeWidget::itemDoubleClicked, this, [this] { decide(RecoveryChoice::Open); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOpen);
    buttons->addWidget(btnDiscard);
    buttons->addWidget(btnLater);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblExplain);
    layout->addWidget(lstCases, 1);
    layout->addLayout(buttons);
    resize(scaledPixels(this, 680), scaledPixels(this, 300));
    updateButtons();
}

void TRecoveryForm::decide(RecoveryChoice choice)
{
    for (QTreeWidgetItem* item : lstCases->selectedItems()) {
        choices_[item->data(0, kOfferRole).toInt()] = choice;
        delete item;
    }
    if (lstCases->topLevelItemCount() == 0)
        accept();
    else
        updateButtons();
}

void TRecoveryForm::updateButtons()
{
    const bool any = !lstCases->selectedItems().isEmpty();
    btnOpen->setEnabled(any);
    btnDiscard->setEnabled(any);
}
