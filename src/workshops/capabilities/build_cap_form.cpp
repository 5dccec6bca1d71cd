#include "workshops/capabilities/build_cap_form.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "model/case_data.h"
#include "shell/help_window.h"
#include "shell/workshop_catalog.h"
#include "widgets/edit_mask.h"
#include "widgets/edit_state.h"
#include "widgets/layout_scale.h"
#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"
#include "widgets/text_convert.h"
#include "widgets/workshop_grid.h"
#include "workshops/capabilities/capabilities_ops.h"

namespace {

const QString kImportanceMask = QStringLiteral("#90;0; ");
const QString kFilterMask = QStringLiteral("99;0; ");

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

// A control is called what its label says: grids and lists do not take the name from a buddy
// label by themselves.
void nameAfterLabel(QLabel* label, QWidget* control)
{
    label->setBuddy(control);
    control->setAccessibleName(QString(label->text()).remove(QLatin1Char('&')));
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
    pageGraph = new QWidget;
    pageGraph->setObjectName(QStringLiteral("Graph"));
    Notebook1->addWidget(pageData);
    Notebook1->addWidget(pageGraph);
    buildDataPage();
    buildGraphPage();
    connect(Notebook1, &QStackedWidget::currentChanged, this, [this] { Notebook1PageChanged(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Notebook1);
    resize(scaledSize(this, 602, 331).expandedTo(minimumSizeHint()));
}

void TBuildCapForm::buildDataPage()
{
    Label1 = new QLabel(tr("List of General &Capabilities"), pageData);
    grdGenCap = new WorkshopGrid(pageData);
    grdGenCap->setObjectName(QStringLiteral("grdGenCap"));
    nameAfterLabel(Label1, grdGenCap);
    setUpCapabilityGrid(grdGenCap, scaledWidths(this, {213, 68, 69}));
    help::setHelpContext(grdGenCap, 59000);

    Label5 = new QLabel(tr("&List of Services"), pageData);
    grdServices = new WorkshopGrid(pageData);
    grdServices->setObjectName(QStringLiteral("grdServices"));
    nameAfterLabel(Label5, grdServices);
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

    Label2 = new QLabel(tr("General &Description"), pageData);
    edtDesc = new QPlainTextEdit(pageData);
    edtDesc->setObjectName(QStringLiteral("edtDesc"));
    edtDesc->setReadOnly(true);
    edtDesc->setFocusPolicy(Qt::ClickFocus);
    edtDesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    nameAfterLabel(Label2, edtDesc);
    help::setHelpContext(edtDesc, 59010);

    Label3 = new QLabel(tr("&Service Specific Capabilities"), pageData);
    grdSpecCap = new WorkshopGrid(pageData);
    grdSpecCap->setObjectName(QStringLiteral("grdSpecCap"));
    nameAfterLabel(Label3, grdSpecCap);
    setUpCapabilityGrid(grdSpecCap, scaledWidths(this, {165, 75, 73}));
    help::setHelpContext(grdSpecCap, 59015);

    btnGraph = new QToolButton(pageData);
    btnGraph->setObjectName(QStringLiteral("btnGraph"));
    btnGraph->setText(tr("&Graph"));
    btnGraph->setIcon(graphGlyph(this));
    btnGraph->setIconSize(QSize(scaledPixels(this, 16), scaledPixels(this, 16)));
    btnGraph->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    btnGraph->setFocusPolicy(Qt::StrongFocus);
    btnGraph->setMinimumWidth(scaledPixels(this, 60));
    connect(btnGraph, &QToolButton::clicked, this, [this] { showPage(pageGraph); });
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

void TBuildCapForm::setUpCapabilityGrid(WorkshopGrid* grid, const std::vector<int>& widths)
{
    grid->setColumnWidths(widths);
    grid->setDefaultRowHeight(16);
    grid->setCellTextFunction([this, grid](int col, int row, CellTextUse use) -> QString {
        if (!caseForm())
            return {};
        QString text = toQt(capabilities::capabilityCellText(data(), ownerOf(grid), col, row));
        // The title row is two lines high whatever the dates' widths: the name column is measured
        // as two lines.
        if (row == 0 && col == capabilities::ColName && use == CellTextUse::Fit)
            text += QStringLiteral("\n ");
        return text;
    });
    grid->setEditMaskFunction([](int col, int) { return col == capabilities::ColName ? QString() : kImportanceMask; });
    grid->setCommitEditFunction([this, grid](int col, int row, const QString& text) {
        commitCell(grid, ownerOf(grid), col, row, text);
    });
    connect(grid, &WorkshopGrid::deleteRequested, this, [this, grid](int, int row) {
        deleteCapability(grid, ownerOf(grid), row);
    });
    connect(grid, &WorkshopGrid::titlePressed, this, [this, grid](int col, Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            sortCapabilities(grid, ownerOf(grid), col);
    });
}

int TBuildCapForm::ownerOf(const WorkshopGrid* grid) const
{
    return grid == grdGenCap ? capabilities::kGeneral : specOwnerShown_;
}

void TBuildCapForm::buildGraphPage()
{
    Label6 = new QLabel(tr("&List of Capabilities"), pageGraph);
    lst2Caps = new PortfolioList(pageGraph);
    lst2Caps->setObjectName(QStringLiteral("lst2Caps"));
    lst2Caps->setColumns({tr("Capability"), tr("Today"), tr("Tomorrow")}, scaledWidths(this, {195, 60, 60}));
    nameAfterLabel(Label6, lst2Caps);
    help::setHelpContext(lst2Caps, 59025);

    GroupBox1 = new QGroupBox(tr("Filtering"), pageGraph);
    help::setHelpContext(GroupBox1, 59030);
    Label11 = new QLabel(tr("&Today's importance is between"), GroupBox1);
    Label12 = new QLabel(tr("To&morrow's importance is between"), GroupBox1);
    Label13 = new QLabel(tr("and"), GroupBox1);
    Label14 = new QLabel(tr("and"), GroupBox1);
    const auto makeBound = [this](const char* name, const QString& initial) {
        auto* field = new MaskedLineEdit(GroupBox1);
        field->setObjectName(QString::fromLatin1(name));
        field->setEditMask(kFilterMask);
        field->setMaskedText(initial);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("000")) + scaledPixels(this, 12));
        field->installEventFilter(this);
        return field;
    };
    edtTodayFrom = makeBound("edtTodayFrom", QStringLiteral("1"));
    edtTodayTo = makeBound("edtTodayTo", QStringLiteral("10"));
    edtTomorrowFrom = makeBound("edtTomorrowFrom", QStringLiteral("1"));
    edtTomorrowTo = makeBound("edtTomorrowTo", QStringLiteral("10"));
    nameAfterLabel(Label11, edtTodayFrom);
    nameAfterLabel(Label12, edtTomorrowFrom);
    nameAfterLabel(Label13, edtTodayTo);
    nameAfterLabel(Label14, edtTomorrowTo);
    // "and" alone says little: the upper bounds are named after their row.
    edtTodayTo->setAccessibleName(tr("Today's importance is between ... and"));
    edtTomorrowTo->setAccessibleName(tr("Tomorrow's importance is between ... and"));
    btn2Refresh = new QPushButton(tr("&Refresh"), GroupBox1);
    btn2Refresh->setObjectName(QStringLiteral("btn2Refresh"));
    connect(btn2Refresh, &QPushButton::clicked, this, [this] { btn2RefreshClick(); });

    auto* filter = new QGridLayout(GroupBox1);
    filter->addWidget(Label11, 0, 0);
    filter->addWidget(edtTodayFrom, 0, 1);
    filter->addWidget(Label13, 0, 2);
    filter->addWidget(edtTodayTo, 0, 3);
    filter->addWidget(Label12, 1, 0);
    filter->addWidget(edtTomorrowFrom, 1, 1);
    filter->addWidget(Label14, 1, 2);
    filter->addWidget(edtTomorrowTo, 1, 3);
    filter->addWidget(btn2Refresh, 0, 4, 2, 1, Qt::AlignVCenter);
    filter->setColumnStretch(5, 1);

    chart = new PortfolioChart(lst2Caps, PortfolioParams::capabilities(), 241, pageGraph);
    chart->setObjectName(QStringLiteral("Panel1"));
    chart->diagram()->setObjectName(QStringLiteral("pnt2View"));
    chart->copyButton()->setObjectName(QStringLiteral("BtnCopy"));
    help::setHelpContext(chart->panel(), 59035);
    help::setHelpContext(chart->copyButton(), 58000, QStringLiteral("capabilities.html#graph"));

    btnBack = new QPushButton(tr("&Back to Data"), pageGraph);
    btnBack->setObjectName(QStringLiteral("btnBack"));
    connect(btnBack, &QPushButton::clicked, this, [this] { showPage(pageData); });
    help::setHelpContext(btnBack, 59040);

    int listWidth = 2 * lst2Caps->frameWidth() + lst2Caps->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < lst2Caps->columnCount(); ++col)
        listWidth += lst2Caps->columnWidth(col);
    lst2Caps->setMinimumWidth(listWidth);

    auto* left = new QVBoxLayout;
    left->setSpacing(scaledPixels(this, 2));
    left->addWidget(Label6);
    left->addWidget(lst2Caps, 1);
    left->addSpacing(scaledPixels(this, 4));
    left->addWidget(GroupBox1);
    auto* right = new QVBoxLayout;
    right->addWidget(chart);
    right->addStretch();
    auto* back = new QHBoxLayout;
    back->addStretch();
    back->addWidget(btnBack);
    right->addLayout(back);
    auto* layout = new QHBoxLayout(pageGraph);
    layout->setContentsMargins(scaledPixels(this, 8), scaledPixels(this, 6), scaledPixels(this, 8), scaledPixels(this, 6));
    layout->setSpacing(scaledPixels(this, 10));
    layout->addLayout(left, 1);
    layout->addLayout(right);

    setTabOrder(lst2Caps, edtTodayFrom);
    setTabOrder(edtTodayFrom, edtTodayTo);
    setTabOrder(edtTodayTo, edtTomorrowFrom);
    setTabOrder(edtTomorrowFrom, edtTomorrowTo);
    setTabOrder(edtTomorrowTo, btn2Refresh);
    setTabOrder(btn2Refresh, chart->copyButton());
    setTabOrder(chart->copyButton(), btnBack);
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
    grdGenCap->setRowCount(capabilities::capabilityGridRows(data(), capabilities::kGeneral));
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
    grdSpecCap->setRowCount(capabilities::capabilityGridRows(data(), owner));
    grdSpecCap->refresh();
    grdSpecCap->fitRowHeights();
}

void TBuildCapForm::commitCell(WorkshopGrid* grid, int owner, int col, int row, const QString& text)
{
    if (!canEdit())
        return;
    const auto result = capabilities::commitCapabilityCell(edit(), owner, col, row, toModel(text));
    if (result == capabilities::CellCommit::Added)
        grid->setRowCount(capabilities::capabilityGridRows(data(), owner));
    if (result != capabilities::CellCommit::Unchanged) {
        grid->refreshRows(row, row + 1);
        grid->fitRowHeights();
    }
}

void TBuildCapForm::deleteCapability(WorkshopGrid* grid, int owner, int row)
{
    if (!canEdit() || !capabilities::deleteCapability(edit(), questions(), owner, row))
        return;
    grid->setRowCount(capabilities::capabilityGridRows(data(), owner));
    grid->refresh();
    grid->fitRowHeights();
}

void TBuildCapForm::sortCapabilities(WorkshopGrid* grid, int owner, int col)
{
    if (!canEdit())
        return;
    // Text still being typed belongs to the capability the row shows now, not after the sort.
    if (grid->isEditorOpen())
        grid->setFocus(Qt::OtherFocusReason);
    grid->commitPendingEdit();
    if (!capabilities::sortCapabilities(edit(), owner, col))
        return;
    grid->refresh();
    grid->fitRowHeights();
}

void TBuildCapForm::showPage(QWidget* page)
{
    if (Notebook1->currentWidget() == page)
        return;
    Notebook1->setCurrentWidget(page);
    if (page == pageGraph)
        lst2Caps->setFocus(Qt::OtherFocusReason);
    else if (!protocol::updating(this))
        grdGenCap->setFocus(Qt::OtherFocusReason);
}

void TBuildCapForm::Notebook1PageChanged()
{
    btn2RefreshClick();
}

void TBuildCapForm::btn2RefreshClick()
{
    if (!caseForm())
        return;
    const auto filter = capabilities::readImportanceFilter(
        toModel(edtTodayFrom->maskedText()), toModel(edtTodayTo->maskedText()),
        toModel(edtTomorrowFrom->maskedText()), toModel(edtTomorrowTo->maskedText()));
    lst2Caps->clearRows();
    for (const capabilities::GraphRow& row : capabilities::buildGraphList(data(), filter)) {
        if (row.heading)
            lst2Caps->addRow(toQt(row.caption), {}, 0);
        else
            lst2Caps->addRow(toQt(row.caption), {toQt(row.today), toQt(row.tomorrow)},
                             PortfolioList::makePlotValues(row.vertical, row.horizontal));
    }
    // Long names widen the caption column rather than being cut off.
    lst2Caps->resizeColumnToContents(0);
    lst2Caps->setColumnWidth(0, std::max(scaledPixels(this, 195), lst2Caps->columnWidth(0)));
    chart->diagram()->update();
}

bool TBuildCapForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        for (MaskedLineEdit* field : {edtTodayFrom, edtTodayTo, edtTomorrowFrom, edtTomorrowTo}) {
            if (watched != field)
                continue;
            const QString clamped = toQt(capabilities::clampedFilterText(toModel(field->maskedText())));
            if (clamped != field->maskedText())
                field->setMaskedText(clamped);
        }
    }
    return TWorkshopForm::eventFilter(watched, event);
}
