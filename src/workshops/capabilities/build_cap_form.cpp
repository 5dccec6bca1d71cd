#include "workshops/capabilities/build_cap_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "model/case_data.h"
#include "shell/help_window.h"
#include "shell/list_grid_adapter.h"
#include "shell/workshop_catalog.h"
#include "widgets/buddy_label.h"
#include "widgets/edit_state.h"
#include "widgets/layout_scale.h"
#include "widgets/portfolio_list.h"
#include "widgets/text_convert.h"
#include "widgets/workshop_grid.h"
#include "workshops/capabilities/capabilities_ops.h"
#include "workshops/portfolio/portfolio_page_view.h"

namespace {

const QString kImportanceMask = QStringLiteral("#90;0; ");

void registerHelpTopics()
{
    static const bool registered = [] {
        const QString page = QStringLiteral("capabilities.html");
        help::registerTopic(59000, page + QStringLiteral("#general"));
        for (int context : {59005, 59010, 59015})
            help::registerTopic(context, page + QStringLiteral("#services"));
        for (int context : {59020, 59025, 59035, 59040})
            help::registerTopic(context, page + QStringLiteral("#graph"));
        help::registerTopic(59030, page + QStringLiteral("#filter"));
        return true;
    }();
    Q_UNUSED(registered);
}

// The glyph of the Graph button: a small four-quarter chart with a few dots.
QIcon graphGlyph(const QWidget* widget)
{
    const int size = scaledPixels(widget, 16);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QPalette& palette = widget->palette();
    painter.fillRect(QRect(0, 0, size, size), palette.color(QPalette::Base));
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawRect(0, 0, size - 1, size - 1);
    QPen dotted(palette.color(QPalette::Mid));
    dotted.setStyle(Qt::DotLine);
    painter.setPen(dotted);
    painter.drawLine(size / 2, 1, size / 2, size - 2);
    painter.drawLine(1, size / 2, size - 2, size / 2);
    const int dot = std::max(2, size / 6);
    painter.fillRect(QRect(size / 5, size / 4, dot, dot), palette.color(QPalette::Text));
    painter.fillRect(QRect(size * 3 / 5, size * 3 / 5, dot, dot), palette.color(QPalette::Text));
    painter.fillRect(QRect(size * 2 / 3, size / 5, dot, dot), QColor(255, 0, 0));
    return QIcon(pixmap);
}

std::vector<int> scaledWidths(const QWidget* widget, std::initializer_list<int> widths)
{
    std::vector<int> scaled;
    for (int width : widths)
        scaled.push_back(scaledPixels(widget, width));
    return scaled;
}

// The width a grid needs to show its columns without a horizontal scroll bar.
int gridWidthFor(const WorkshopGrid* grid)
{
    int width = 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < grid->columnCount(); ++col)
        width += grid->gridColumnWidth(col) + 1;
    return width;
}

} // namespace

TBuildCapForm::TBuildCapForm(QWidget* parent) : TWorkshopForm(workshop_id::Capabilities, parent)
{
    registerHelpTopics();
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    pageData = new QWidget;
    pageData->setObjectName(QStringLiteral("Data"));
    Notebook1->addWidget(pageData);
    buildDataPage();
    buildGraphPage();
    Notebook1->addWidget(graphPage_);
    connect(Notebook1, &QStackedWidget::currentChanged, this, [this] { Notebook1PageChanged(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Notebook1);
    resize(scaledSize(this, 602, 331).expandedTo(minimumSizeHint()));
}

void TBuildCapForm::buildDataPage()
{
    grdGenCap = new WorkshopGrid(pageData);
    grdGenCap->setObjectName(QStringLiteral("grdGenCap"));
    QLabel* Label1 = labelFor(tr("List of General &Capabilities"), grdGenCap, pageData);
    genCaps_ = setUpCapabilityGrid(grdGenCap, scaledWidths(this, {213, 68, 69}));
    help::setHelpContext(grdGenCap, 59000);

    grdServices = new WorkshopGrid(pageData);
    grdServices->setObjectName(QStringLiteral("grdServices"));
    QLabel* Label5 = labelFor(tr("&List of Services"), grdServices, pageData);
    grdServices->setColumnWidths(scaledWidths(this, {206}));
    grdServices->setEditingEnabled(false);
    grdServices->setColumnSizing(false);
    grdServices->setShowGrid(false);
    grdServices->setCellTextFunction([this](int, int row, CellTextUse) -> QString {
        if (row == 0)
            return QStringLiteral("Name");
        if (!caseForm() || !data().Products.InRange(row - 1))
            return {};
        return toQt(data().Products[row - 1].Name);
    });
    // Horizontal lines only, between the rows.
    grdServices->setCellPainter([this](QPainter& painter, const QRect& cell, int, int row) {
        if (row > 0) {
            painter.setPen(palette().color(QPalette::Midlight));
            painter.drawLine(cell.bottomLeft(), cell.bottomRight());
        }
        return false;
    });
    connect(grdServices, &WorkshopGrid::cellSelected, this, [this] { grdServicesClick(); });
    help::setHelpContext(grdServices, 59005);

    edtDesc = new QPlainTextEdit(pageData);
    edtDesc->setObjectName(QStringLiteral("edtDesc"));
    edtDesc->setReadOnly(true);
    edtDesc->setFocusPolicy(Qt::ClickFocus);
    edtDesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QLabel* Label2 = labelFor(tr("General &Description"), edtDesc, pageData);
    help::setHelpContext(edtDesc, 59010);

    grdSpecCap = new WorkshopGrid(pageData);
    grdSpecCap->setObjectName(QStringLiteral("grdSpecCap"));
    QLabel* Label3 = labelFor(tr("&Service Specific Capabilities"), grdSpecCap, pageData);
    specCaps_ = setUpCapabilityGrid(grdSpecCap, scaledWidths(this, {165, 75, 73}));
    help::setHelpContext(grdSpecCap, 59015);

    auto* btnGraph = new QToolButton(pageData);
    btnGraph->setObjectName(QStringLiteral("btnGraph"));
    btnGraph->setText(tr("&Graph"));
    btnGraph->setIcon(graphGlyph(this));
    btnGraph->setIconSize(QSize(scaledPixels(this, 16), scaledPixels(this, 16)));
    btnGraph->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    btnGraph->setFocusPolicy(Qt::StrongFocus);
    btnGraph->setMinimumWidth(scaledPixels(this, 60));
    connect(btnGraph, &QToolButton::clicked, this, [this] { showPage(graphPage_); });
    help::setHelpContext(btnGraph, 59020);

    grdGenCap->setMinimumSize(gridWidthFor(grdGenCap), scaledPixels(this, 110));
    grdSpecCap->setMinimumSize(gridWidthFor(grdSpecCap), scaledPixels(this, 110));
    grdServices->setMinimumSize(gridWidthFor(grdServices), scaledPixels(this, 80));
    edtDesc->setMinimumWidth(gridWidthFor(grdServices));

    auto* layout = new QGridLayout(pageData);
    layout->setContentsMargins(scaledPixels(this, 8), scaledPixels(this, 6), scaledPixels(this, 8), scaledPixels(this, 6));
    layout->setVerticalSpacing(scaledPixels(this, 2));
    layout->setHorizontalSpacing(scaledPixels(this, 10));
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(grdGenCap, 1, 0);
    layout->addWidget(Label5, 0, 1);
    layout->addWidget(grdServices, 1, 1);
    layout->addItem(new QSpacerItem(0, scaledPixels(this, 6)), 2, 0);
    layout->addWidget(Label3, 3, 0);
    layout->addWidget(grdSpecCap, 4, 0, 2, 1);
    layout->addWidget(Label2, 3, 1);
    layout->addWidget(edtDesc, 4, 1);
    layout->addWidget(btnGraph, 5, 1, Qt::AlignRight | Qt::AlignBottom);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);

    setTabOrder(grdGenCap, grdServices);
    setTabOrder(grdServices, grdSpecCap);
    setTabOrder(grdSpecCap, btnGraph);
}

ListGridAdapter* TBuildCapForm::setUpCapabilityGrid(WorkshopGrid* grid, const std::vector<int>& widths)
{
    grid->setColumnWidths(widths);
    grid->setDefaultRowHeight(16);
    grid->setEditMaskFunction([](int col, int) { return col == capabilities::ColName ? QString() : kImportanceMask; });
    ListGridAdapter::Hooks hooks;
    hooks.committed = [this, grid](CellCommit result, int, int row) {
        if (result == CellCommit::Added)
            grid->setRowCount(capabilitiesOf(grid)->rowCount());
        if (result != CellCommit::Unchanged) {
            grid->refreshRows(row, row + 1);
            grid->fitRowHeights();
        }
    };
    hooks.beforeSort = [grid](int, Qt::MouseButton button) {
        if (button != Qt::LeftButton)
            return false;
        // Text still being typed belongs to the capability the row shows now, not after the sort.
        if (grid->isEditorOpen())
            grid->setFocus(Qt::OtherFocusReason);
        grid->commitPendingEdit();
        return true;
    };
    hooks.sorted = [grid](int) {
        grid->refresh();
        grid->fitRowHeights();
    };
    hooks.deleted = [this, grid] {
        grid->setRowCount(capabilitiesOf(grid)->rowCount());
        grid->refresh();
        grid->fitRowHeights();
    };
    auto* adapter = new ListGridAdapter(this, grid, capabilities::capabilityGrid([this, grid] { return ownerOf(grid); }),
                                        std::move(hooks));
    grid->setCellTextFunction([adapter](int col, int row, CellTextUse use) {
        QString text = adapter->cellText(col, row);
        // The title row is two lines high whatever the dates' widths: the name column is measured
        // as two lines.
        if (row == 0 && col == capabilities::ColName && use == CellTextUse::Fit)
            text += QStringLiteral("\n ");
        return text;
    });
    return adapter;
}

ListGridAdapter* TBuildCapForm::capabilitiesOf(const WorkshopGrid* grid) const
{
    return grid == grdGenCap ? genCaps_ : specCaps_;
}

int TBuildCapForm::ownerOf(const WorkshopGrid* grid) const
{
    return grid == grdGenCap ? capabilities::kGeneral : specOwnerShown_;
}

void TBuildCapForm::buildGraphPage()
{
    // Leaving a filter field limits it; Refresh only applies the filter.
    const PortfolioPageSetup setup{
        .listLabel = "&List of Capabilities",
        .columns = {"Capability", "Today", "Tomorrow"},
        .columnWidths = {195, 60, 60},
        .filterCaptions = {"&Today's importance is between", "To&morrow's importance is between"},
        .cleaning = portfolio::Cleaning::OnLeave,
        .chart = PortfolioParams::capabilities(),
        .paintSize = 241,
        .listHelp = 59025,
        .filterHelp = 59030,
        .panelHelp = 59035,
        .backHelp = 59040,
        .copyHelpPage = "capabilities.html#graph",
        .listObject = "lst2Caps",
        .fieldObjects = {"edtTodayFrom", "edtTodayTo", "edtTomorrowFrom", "edtTomorrowTo"},
    };
    graphPage_ = new PortfolioPage(setup, [this](const portfolio::PlotFilter& filter) {
        return caseForm() ? capabilities::buildGraphList(data(), filter) : std::vector<portfolio::PlotRow>{};
    });
    graphPage_->setObjectName(QStringLiteral("Graph"));
    connect(graphPage_, &PortfolioPage::backClicked, this, [this] { showPage(pageData); });
}

int TBuildCapForm::selectedProduct() const
{
    if (!caseForm())
        return -1;
    const int row = grdServices->currentRow();
    return data().Products.InRange(row - 1) ? row - 1 : -1;
}

void TBuildCapForm::wmCommit()
{
    // Typed text still in a capability grid reaches the model before a save or close.
    grdGenCap->commitPendingEdit();
    grdSpecCap->commitPendingEdit();
}

void TBuildCapForm::wmRefresh()
{
    showPage(pageData);
    const int products = data().Products.Count();
    grdGenCap->setRowCount(genCaps_->rowCount());
    grdServices->setRowCount(std::max(products + 1, 2));
    grdSpecCap->setEnabled(products > 0);
    grdGenCap->refresh();
    grdServices->refresh();
    grdServicesClick();
    grdServices->fitRowHeights();
    grdGenCap->fitRowHeights();
    grdSpecCap->fitRowHeights();
    update();
}

void TBuildCapForm::grdServicesClick()
{
    if (!caseForm())
        return;
    const int product = selectedProduct();
    const int owner = product >= 0 ? product : capabilities::kNoOwner;
    if (owner != specOwnerShown_)
        grdSpecCap->commitPendingEdit(); // still the previous product's
    specOwnerShown_ = owner;
    edtDesc->setPlainText(product >= 0 ? toQt(data().Products[product].Description) : QString());
    grdSpecCap->setRowCount(specCaps_->rowCount());
    grdSpecCap->refresh();
    grdSpecCap->fitRowHeights();
}

void TBuildCapForm::showPage(QWidget* page)
{
    if (Notebook1->currentWidget() == page)
        return;
    Notebook1->setCurrentWidget(page);
    if (page == graphPage_)
        graphPage_->list()->setFocus(Qt::OtherFocusReason);
    else if (!protocol::updating(this))
        grdGenCap->setFocus(Qt::OtherFocusReason);
}

void TBuildCapForm::Notebook1PageChanged()
{
    if (caseForm())
        graphPage_->rebuild();
}
