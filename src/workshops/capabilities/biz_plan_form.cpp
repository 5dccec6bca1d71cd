#include "workshops/capabilities/biz_plan_form.h"

#include "model/case_data.h"
#include "shell/help_window.h"
#include "shell/workshop_catalog.h"
#include "widgets/buddy_label.h"
#include "widgets/edit_state.h"
#include "widgets/layout_scale.h"
#include "widgets/text_convert.h"
#include "widgets/workshop_grid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>

using namespace business_plan;

namespace {

constexpr int kNameWidth = 124;
constexpr int kYearWidth = 68;
constexpr int kEntryNameInset = 10;
const QString kEntryAmountMask = QStringLiteral("#9999990;0; ");
// One literal blank and nothing else: subtotal rows cannot be typed into.
const QString kSubtotalMask = QStringLiteral(" ;0; ");

void registerHelpTopics()
{
    help::registerTopic(56000, QStringLiteral("businessplan.html#customer"));
    help::registerTopic(56005, QStringLiteral("businessplan.html#plan"));
    help::registerTopic(56010, QStringLiteral("businessplan.html#total"));
}

} // namespace

TBizPlanForm::TBizPlanForm(QWidget* parent) : TWorkshopForm(workshop_id::BusinessPlan, parent)
{
    registerHelpTopics();
    buildLayout();
    resize(scaledSize(this, 602, 331));
}

void TBizPlanForm::buildLayout()
{
    ComboCust = new QComboBox(this);
    ComboCust->setObjectName(QStringLiteral("ComboCust"));
    ComboCust->setEditable(false);
    ComboCust->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboCust->setMinimumContentsLength(24);
    help::setHelpContext(ComboCust, 56000);
    QLabel* Label1 = labelFor(tr("&Customer"), ComboCust, this);

    GridCust = new WorkshopGrid(this);
    GridCust->setObjectName(QStringLiteral("GridCust"));
    GridCust->setColumnWidths({scaledPixels(this, kNameWidth), scaledPixels(this, kYearWidth),
                               scaledPixels(this, kYearWidth), scaledPixels(this, kYearWidth)});
    GridCust->setDefaultRowHeight(16);
    GridCust->setColumnSizing(true);
    GridCust->setEditingEnabled(true);
    help::setHelpContext(GridCust, 56005);
    QLabel* Label2 = labelFor(tr("&Business Plan"), GridCust, this);

    GridTotal = new WorkshopGrid(this);
    GridTotal->setObjectName(QStringLiteral("GridTotal"));
    GridTotal->setColumnWidths({scaledPixels(this, kYearWidth), scaledPixels(this, kYearWidth),
                                scaledPixels(this, kYearWidth)});
    GridTotal->setDefaultRowHeight(16);
    GridTotal->setColumnSizing(false);
    GridTotal->setEditingEnabled(false);
    GridTotal->setCanSelectCellFunction([](int, int) { return false; });
    // Its rows take the plan grid's heights; fitting it on its own texts would undo that.
    GridTotal->setFitRowHeightsOnSelect(false);
    help::setHelpContext(GridTotal, 56010);
    QLabel* Label3 = labelFor(tr("&Total"), GridTotal, this);

    GridCust->setCellTextFunction([this](int col, int row, CellTextUse use) { return custCellText(col, row, use); });
    GridCust->setCellStyleFunction([this](int col, int row) { return custCellStyle(col, row); });
    GridCust->setEditMaskFunction([this](int col, int row) { return custEditMask(col, row); });
    GridCust->setCommitEditFunction(
        [this](int col, int row, const QString& text) { GridCustCommit(col, row, text); });
    GridCust->setKeyDownHandler([this](QKeyEvent* event) { return GridCustKeyDown(event); });
    connect(GridCust, &WorkshopGrid::deleteRequested, this, [this](int, int row) { GridCustDelete(row); });
    connect(GridCust, &WorkshopGrid::cellSelected, this, [this] { fitRowHeights(); });

    GridTotal->setCellTextFunction([this](int col, int row, CellTextUse use) { return totalCellText(col, row, use); });
    GridTotal->setCellStyleFunction([](int, int) {
        CellStyle style;
        style.alignment = Qt::AlignRight;
        return style;
    });

    // The two grids scroll in step, so every total stays beside its row.
    connect(GridCust->verticalScrollBar(), &QScrollBar::valueChanged, GridTotal->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(GridTotal->verticalScrollBar(), &QScrollBar::valueChanged, GridCust->verticalScrollBar(),
            &QScrollBar::setValue);
    GridCust->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridTotal->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    connect(ComboCust, &QComboBox::currentIndexChanged, this, &TBizPlanForm::ComboCustChange);

    const auto gridWidth = [this](const WorkshopGrid* grid) {
        int width = 2 * grid->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        for (int c = 0; c < grid->columnCount(); ++c)
            width += grid->gridColumnWidth(c) + 1;
        return width;
    };
    GridCust->setMinimumWidth(gridWidth(GridCust));
    GridTotal->setMinimumWidth(gridWidth(GridTotal));

    auto* layout = new QGridLayout(this);
    auto* customerRow = new QHBoxLayout;
    customerRow->addWidget(Label1);
    customerRow->addWidget(ComboCust, 1);
    customerRow->addStretch();
    layout->addLayout(customerRow, 0, 0, 1, 2);
    layout->addWidget(Label2, 1, 0);
    layout->addWidget(Label3, 1, 1);
    layout->addWidget(GridCust, 2, 0);
    layout->addWidget(GridTotal, 2, 1);
    layout->setColumnStretch(0, 4);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(2, 1);

    setTabOrder(ComboCust, GridCust);
    setTabOrder(GridCust, GridTotal);
}

int TBizPlanForm::selectedCustomer() const
{
    const int index = ComboCust->currentIndex();
    return data().Customers.InRange(index) ? index : -1;
}

const TCapability* TBizPlanForm::shownRow(int row) const
{
    return row >= 1 ? planRow(data(), selectedCustomer(), row - 1) : nullptr;
}

QString TBizPlanForm::amountText(double value, CellTextUse use) const
{
    if (use == CellTextUse::Edit || use == CellTextUse::Fit)
        return QString::number(value, 'f', 0);
    return locale_.toString(value, 'f', 0);
}

QString TBizPlanForm::custCellText(int col, int row, CellTextUse use) const
{
    if (row == 0) {
        static const QString titles[] = {QStringLiteral("Name"), QStringLiteral("Year1"), QStringLiteral("Year2"),
                                         QStringLiteral("Year3")};
        return col >= 0 && col < 4 ? titles[col] : QString();
    }
    const TCapability* planRow = shownRow(row);
    if (!planRow)
        return {};
    if (col == 0)
        return toQt(planRow->Name);
    // The first row is the plan's heading: it never shows amounts.
    if (row == 1 || col > kYears)
        return {};
    return amountText(amount(*planRow, col - 1), use);
}

QString TBizPlanForm::totalCellText(int col, int row, CellTextUse use) const
{
    if (row == 0) {
        static const QString titles[] = {QStringLiteral("Year1"), QStringLiteral("Year2"), QStringLiteral("Year3")};
        return col >= 0 && col < kYears ? titles[col] : QString();
    }
    const auto r = static_cast<std::size_t>(row - 1);
    if (r >= totals_.size() || col < 0 || col >= kYears)
        return {};
    return amountText(totals_[r][static_cast<std::size_t>(col)], use);
}

CellStyle TBizPlanForm::custCellStyle(int col, int row) const
{
    CellStyle style;
    style.alignment = col == 0 ? Qt::AlignLeft : Qt::AlignRight;
    if (row >= 1 && col == 0) {
        if (const TCapability* planRow = shownRow(row)) {
            style.bold = !isEntryRow(*planRow);
            if (isEntryRow(*planRow))
                style.leftInset = scaledPixels(this, kEntryNameInset);
        }
    }
    return style;
}

QString TBizPlanForm::custEditMask(int col, int row) const
{
    const TCapability* planRow = shownRow(row);
    if (!planRow || !isEntryRow(*planRow))
        return kSubtotalMask;
    return col == 0 ? QString() : kEntryAmountMask;
}

void TBizPlanForm::wmCommit()
{
    GridCust->commitPendingEdit();
}

void TBizPlanForm::wmRefresh()
{
    protocol::UpdatingGuard updating(this);
    locale_ = QLocale();
    // Amounts are always grouped, whatever the locale's default for plain number output.
    locale_.setNumberOptions(locale_.numberOptions() & ~QLocale::OmitGroupSeparator);

    const TCaseData& data = this->data();
    const int kept = std::max(ComboCust->currentIndex(), 0);
    ComboCust->clear();
    for (const TCustProd& customer : data.Customers)
        ComboCust->addItem(toQt(customer.Name));

    if (data.Customers.Empty()) {
        ComboCust->setEnabled(false);
        GridCust->setEnabled(false);
        setRowCounts(1);
    } else {
        ComboCust->setEnabled(true);
        GridCust->setEnabled(true);
        // A kept index beyond the list selects nothing: the grid shows empty rows until a customer
        // is chosen.
        ComboCust->setCurrentIndex(kept < data.Customers.Count() ? kept : -1);
        const int customer = selectedCustomer();
        setRowCounts(planOf(data, customer >= 0 ? customer : 0)->Count() + 1);
    }
    recalculateAndRepaint();
    if (!fittedToContent_) {
        fittedToContent_ = true;
        fitToContent();
    }
}

void TBizPlanForm::fitToContent()
{
    layout()->activate();
    int wanted = 2 * GridCust->frameWidth() + GridCust->horizontalHeader()->height();
    for (int r = 1; r < GridCust->rowCount(); ++r)
        wanted += GridCust->gridRowHeight(r) + 1;
    wanted = std::min(wanted, scaledPixels(this, 520));
    const int grow = wanted - GridCust->height();
    if (grow <= 0)
        return;
    if (QWidget* frame = subWindow())
        frame->resize(frame->width(), frame->height() + grow);
    else
        resize(width(), height() + grow);
}

void TBizPlanForm::ComboCustChange()
{
    if (protocol::updating(this))
        return;
    const int customer = selectedCustomer();
    if (customer < 0)
        return;
    setRowCounts(planOf(data(), customer)->Count() + 1);
    recalculateAndRepaint();
}

void TBizPlanForm::GridCustCommit(int col, int row, const QString& text)
{
    if (!canEdit())
        return;
    // Only the selected customer's plan changes: its old amounts leave the totals, its new ones
    // join them, so a case of thousands of customers is not added up again for every cell.
    const int customer = selectedCustomer();
    const TDelList<TCapability>* plan = planOf(data(), customer);
    if (plan)
        addToTotals(totals_, *plan, -1);
    commitCell(edit(), customer, row - 1, col, toModel(text));
    if (plan)
        addToTotals(totals_, *plan, 1);
    // A name changes its own row; an amount also every subtotal below it. Only those rows need
    // measuring again, which keeps storing a cell quick in a plan of thousands of rows.
    GridCust->refreshRows(row, col == 0 ? row : GridCust->rowCount() - 1);
    GridTotal->refresh();
    fitRowHeights();
}

bool TBizPlanForm::GridCustKeyDown(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() != Qt::Key_Insert || modifiers != Qt::AltModifier)
        return false;
    const int row = GridCust->currentRow();
    // Nothing goes above the plan's first row.
    if (canEdit() && row >= 2 && shownRow(row) && insertRow(edit(), selectedCustomer(), row - 1))
        sendRefresh();
    return true;
}

void TBizPlanForm::GridCustDelete(int row)
{
    const TCapability* planRow = shownRow(row);
    if (!canEdit() || !planRow || !isEntryRow(*planRow))
        return;
    if (deleteRow(edit(), selectedCustomer(), row - 1, questions()))
        sendRefresh();
    recalculateAndRepaint();
}

void TBizPlanForm::setRowCounts(int rows)
{
    GridCust->setRowCount(rows);
    GridTotal->setRowCount(rows);
    fitRowHeights();
}

void TBizPlanForm::recalculateAndRepaint()
{
    business_plan::recalculate(data());
    repaintWithTotals();
}

void TBizPlanForm::repaintWithTotals()
{
    totals_ = totals(data(), GridCust->rowCount() - 1);
    GridCust->refresh();
    GridTotal->refresh();
    fitRowHeights();
}

void TBizPlanForm::fitRowHeights()
{
    GridCust->fitRowHeights();
    for (int r = 0; r < GridCust->rowCount() && r < GridTotal->rowCount(); ++r) {
        const int height = GridCust->gridRowHeight(r);
        if (GridTotal->gridRowHeight(r) != height)
            GridTotal->setGridRowHeight(r, height);
    }
}
