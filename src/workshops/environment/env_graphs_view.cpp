// The two diagram pages of the environment window: the importance of every change, and the
// impact and likelihood of every risk, each beside its filtered list.

#include "workshops/environment/env_form.h"

#include "model/case_data.h"
#include "shell/help_window.h"
#include "widgets/edit_mask.h"
#include "widgets/layout_scale.h"
#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"
#include "widgets/text_convert.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace environment;

namespace {

MaskedLineEdit* filterEdit(QWidget* parent, const char* initial)
{
    auto* edit = new MaskedLineEdit(parent);
    edit->setEditMask(QStringLiteral("99;0; "));
    edit->setMaxLength(2);
    edit->setText(QString::fromLatin1(initial));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + scaledPixels(edit, 12));
    return edit;
}

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return label;
}

struct FilterBox {
    QGroupBox* group;
    MaskedLineEdit* firstFrom;
    MaskedLineEdit* firstTo;
    MaskedLineEdit* secondFrom;
    MaskedLineEdit* secondTo;
    QPushButton* refresh;
};

// "Filtering": two lines of "<caption> [from] and [to]" and the Refresh button.
FilterBox makeFilterBox(QWidget* parent, const QString& first, const QString& second, int helpContext)
{
    FilterBox box{};
    box.group = new QGroupBox(QObject::tr("Filtering"), parent);
    help::setHelpContext(box.group, helpContext);
    box.firstFrom = filterEdit(box.group, "1");
    box.firstTo = filterEdit(box.group, "10");
    box.secondFrom = filterEdit(box.group, "1");
    box.secondTo = filterEdit(box.group, "10");
    box.refresh = new QPushButton(QObject::tr("&Refresh"), box.group);

    auto* layout = new QGridLayout(box.group);
    layout->addWidget(labelFor(first, box.firstFrom, box.group), 0, 0);
    layout->addWidget(box.firstFrom, 0, 1);
    layout->addWidget(labelFor(QObject::tr("and"), box.firstTo, box.group), 0, 2);
    layout->addWidget(box.firstTo, 0, 3);
    layout->addWidget(labelFor(second, box.secondFrom, box.group), 1, 0);
    layout->addWidget(box.secondFrom, 1, 1);
    layout->addWidget(labelFor(QObject::tr("and"), box.secondTo, box.group), 1, 2);
    layout->addWidget(box.secondTo, 1, 3);
    layout->addWidget(box.refresh, 0, 4, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    layout->setColumnStretch(0, 1);
    return box;
}

// Fills a diagram's list; nothing is selected afterwards. The caption column grows to the widest
// caption, so no name is cut short.
void fillList(PortfolioList* list, const std::vector<PlotRow>& rows, int captionWidth)
{
    list->setUpdatesEnabled(false);
    list->clearRows();
    for (const PlotRow& row : rows) {
        QStringList subItems;
        for (const std::string& text : row.subItems)
            subItems.append(toQt(text));
        list->addRow(toQt(row.caption), subItems, row.plotValues);
    }
    list->resizeColumnToContents(0);
    list->setColumnWidth(0, std::max(list->columnWidth(0), captionWidth));
    list->setUpdatesEnabled(true);
}

// The Refresh button's cleaning of one pair: clamped, turned round when reversed, written back.
ScoreRange normalizePair(MaskedLineEdit* from, MaskedLineEdit* to)
{
    const ScoreRange range = normalizedRange(readFilterPair(toModel(from->text()), toModel(to->text())));
    from->setText(QString::number(range.from));
    to->setText(QString::number(range.to));
    return range;
}

QWidget* diagramPage(QLabel* listLabel, PortfolioList* list, const FilterBox& filter, PortfolioChart* chart,
                     QPushButton* back)
{
    auto* page = listLabel->parentWidget();
    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(list, 1);
    left->addWidget(filter.group);
    auto* right = new QVBoxLayout;
    right->addWidget(chart);
    right->addStretch();
    right->addWidget(back, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    return page;
}

} // namespace

QWidget* TEnvForm::buildImportancePage()
{
    auto* page = new QWidget;
    lst2Changes = new PortfolioList(page);
    lst2Changes->setColumns({tr("Area/Change Name"), tr("Today"), tr("Tomorrow")},
                            {scaledPixels(lst2Changes, 190), scaledPixels(lst2Changes, 60),
                             scaledPixels(lst2Changes, 60)});
    lst2Changes->setMinimumWidth(scaledPixels(lst2Changes, 316));
    help::setHelpContext(lst2Changes, 51100);
    Label6 = labelFor(tr("&List of Changes"), lst2Changes, page);

    const FilterBox filter = makeFilterBox(page, tr("&Today's importance is between"),
                                           tr("To&morrow's importance is between"), 51105);
    GroupBox2 = filter.group;
    edtTodayFrom = filter.firstFrom;
    edtTodayTo = filter.firstTo;
    edtTomFrom = filter.secondFrom;
    edtTomTo = filter.secondTo;
    btn2Refresh = filter.refresh;
    connect(btn2Refresh, &QPushButton::clicked, this, [this] { btn2RefreshClick(); });

    chart2 = new PortfolioChart(lst2Changes, PortfolioParams::changes(), 237, page);
    help::setHelpContext(chart2->panel(), 51110);
    help::setHelpContext(chart2->copyButton(), 58000, QStringLiteral("environment.html#importance-diagram"));
    btnBack = new QPushButton(tr("&Back to Data"), page);
    help::setHelpContext(btnBack, 51115);
    connect(btnBack, &QPushButton::clicked, this, [this] { showPage(DataPage); });
    return diagramPage(Label6, lst2Changes, filter, chart2, btnBack);
}

QWidget* TEnvForm::buildRiskPage()
{
    auto* page = new QWidget;
    lst3Risks = new PortfolioList(page);
    lst3Risks->setColumns({tr("Risk Description"), tr("PI"), tr("LO")},
                          {scaledPixels(lst3Risks, 200), scaledPixels(lst3Risks, 40), scaledPixels(lst3Risks, 40)});
    lst3Risks->setMinimumWidth(scaledPixels(lst3Risks, 290));
    help::setHelpContext(lst3Risks, 51200);
    Label15 = labelFor(tr("&List of Risks"), lst3Risks, page);

    const FilterBox filter = makeFilterBox(page, tr("&Potential impact is between"),
                                           tr("L&ikelihood of occurrence is between"), 51205);
    GroupBox3 = filter.group;
    edtPIFrom = filter.firstFrom;
    edtPITo = filter.firstTo;
    edtLOFrom = filter.secondFrom;
    edtLOTo = filter.secondTo;
    btn3Refresh = filter.refresh;
    connect(btn3Refresh, &QPushButton::clicked, this, [this] { btn3RefreshClick(); });

    chart3 = new PortfolioChart(lst3Risks, PortfolioParams::risks(), 237, page);
    help::setHelpContext(chart3->panel(), 51210);
    help::setHelpContext(chart3->copyButton(), 58000, QStringLiteral("environment.html#risk-diagram"));
    BitBtn1 = new QPushButton(tr("&Back to Data"), page);
    help::setHelpContext(BitBtn1, 51115);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { showPage(DataPage); });
    return diagramPage(Label15, lst3Risks, filter, chart3, BitBtn1);
}

void TEnvForm::BuildChangeList()
{
    if (!caseForm())
        return;
    // Read as typed: the cleaning belongs to the Refresh button.
    const ImportanceFilter filter{readFilterPair(toModel(edtTodayFrom->text()), toModel(edtTodayTo->text())),
                                  readFilterPair(toModel(edtTomFrom->text()), toModel(edtTomTo->text()))};
    fillList(lst2Changes, buildChangeList(data(), filter), scaledPixels(lst2Changes, 190));
    chart2->diagram()->update();
}

void TEnvForm::btn2RefreshClick()
{
    normalizePair(edtTodayFrom, edtTodayTo);
    normalizePair(edtTomFrom, edtTomTo);
    BuildChangeList();
}

void TEnvForm::BuildRiskList()
{
    if (!caseForm())
        return;
    const RiskFilter filter{readFilterPair(toModel(edtPIFrom->text()), toModel(edtPITo->text())),
                            readFilterPair(toModel(edtLOFrom->text()), toModel(edtLOTo->text()))};
    fillList(lst3Risks, buildRiskList(data(), filter), scaledPixels(lst3Risks, 200));
    chart3->diagram()->update();
}

void TEnvForm::btn3RefreshClick()
{
    normalizePair(edtPIFrom, edtPITo);
    normalizePair(edtLOFrom, edtLOTo);
    BuildRiskList();
}
