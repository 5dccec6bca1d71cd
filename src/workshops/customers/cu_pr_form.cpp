#include "workshops/customers/cu_pr_form.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "shell/help_window.h"
#include "shell/list_grid_adapter.h"
#include "shell/workshop_catalog.h"
#include "widgets/buddy_label.h"
#include "widgets/bullet_text_edit.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/edit_mask.h"
#include "widgets/edit_state.h"
#include "widgets/layout_scale.h"
#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"
#include "widgets/text_convert.h"
#include "workshops/customers/grouping_form.h"
#include "workshops/portfolio/portfolio_page_view.h"

using namespace cust_prod;

namespace {

constexpr int kFormHelpContext = 20030;

// Help topics of the controls, customers mode first; products mode replaces the listed ones.
struct HelpTopics {
    int grdCust, edtDesc, btnGroup, grdKeyChar, GroupBox2, edtKeyNeeds, grdMarkPot, lst2Customers, GroupBox1,
        Panel1, BitBtnGrouping2;
};
constexpr HelpTopics kCustomerTopics{53000, 53005, 53010, 53020, 53025, 53030, 53035, 53100, 53105, 53110, 53010};
constexpr HelpTopics kProductTopics{54000, 54005, 54010, 54015, 54020, 54025, 54030, 54100, 54105, 54110, 54010};
constexpr int kGraphButtonTopic = 53040;
constexpr int kBackButtonTopic = 53115;
constexpr int kCopyButtonTopic = 58000;

void registerHelpTopics()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    for (const auto& [topics, page] : {std::pair{kCustomerTopics, QStringLiteral("customers.html")},
                                       std::pair{kProductTopics, QStringLiteral("products.html")}}) {
        help::registerTopic(topics.grdCust, page + QStringLiteral("#list"));
        help::registerTopic(topics.edtDesc, page + QStringLiteral("#texts"));
        help::registerTopic(topics.edtKeyNeeds, page + QStringLiteral("#texts"));
        help::registerTopic(topics.btnGroup, QStringLiteral("grouping.html"));
        help::registerTopic(topics.grdKeyChar, page + QStringLiteral("#keychars"));
        help::registerTopic(topics.GroupBox2, page + QStringLiteral("#filter"));
        help::registerTopic(topics.grdMarkPot, page + QStringLiteral("#potential"));
        help::registerTopic(topics.lst2Customers, page + QStringLiteral("#graph"));
        help::registerTopic(topics.GroupBox1, page + QStringLiteral("#graph"));
        help::registerTopic(topics.Panel1, page + QStringLiteral("#graph"));
    }
}

// The glyph above the "Graph" button's text: a small four-quarter chart with a few dots.
QIcon graphGlyph()
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawRect(1, 1, 21, 21);
    painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
    painter.drawLine(12, 2, 12, 21);
    painter.drawLine(2, 12, 21, 12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRect(5, 5, 3, 3);
    painter.drawRect(16, 8, 3, 3);
    painter.setBrush(Qt::red);
    painter.drawRect(14, 15, 3, 3);
    return QIcon(pixmap);
}

// A grid's width for its columns: the columns, the frame and a vertical scroll bar.
int gridWidth(const WorkshopGrid* grid)
{
    int width = 2 * grid->frameWidth() + grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    for (int c = 0; c < grid->columnCount(); ++c)
        width += grid->gridColumnWidth(c) + 1;
    return width;
}

QString graphHelpPage(Mode mode)
{
    return mode == Mode::Customers ? QStringLiteral("customers.html#graph") : QStringLiteral("products.html#graph");
}

} // namespace

TCuPrForm::TCuPrForm(int identifier, QWidget* parent)
    : TWorkshopForm(identifier, parent),
      mode_(identifier == workshop_id::Products ? Mode::Products : Mode::Customers)
{
    registerHelpTopics();
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    Notebook1->addWidget(buildDataPage());
    Notebook1->addWidget(buildGraphPage());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(scaledPixels(this, 4), scaledPixels(this, 4), scaledPixels(this, 4),
                               scaledPixels(this, 4));
    layout->addWidget(Notebook1);
    help::setHelpContext(this, kFormHelpContext);

    const QSize described = scaledSize(this, 602, 331);
    resize(described.expandedTo(sizeHint()));
}

int TCuPrForm::helpContext() const
{
    return kFormHelpContext;
}

QWidget* TCuPrForm::buildDataPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Data"));
    const bool customers = mode_ == Mode::Customers;

    grdCust = new WorkshopGrid(page);
    grdCust->setObjectName(QStringLiteral("grdCust"));
    QLabel* Label1 = labelFor(customers ? tr("&List of Customers") : tr("&List of Services/Products"), grdCust,
                              page, "Label1");
    edtDesc = new Cp1252PlainTextEdit(page);
    edtDesc->setObjectName(QStringLiteral("edtDesc"));
    edtDesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edtDesc->setTabChangesFocus(true);
    QLabel* Label2 = labelFor(tr("General &Description"), edtDesc, page, "Label2");
    edtKeyNeeds = new BulletTextEdit(page);
    edtKeyNeeds->setObjectName(QStringLiteral("edtKeyNeeds"));
    QLabel* Label4 = labelFor(customers ? tr("&Key Needs/Requirements") : tr("&Key Advantages/USPs"), edtKeyNeeds,
                              page, "Label4");
    btnGroup = new QPushButton(tr("Gro&uping..."), page);
    btnGroup->setObjectName(QStringLiteral("btnGroup"));
    auto* btnGraph = new QToolButton(page);
    btnGraph->setObjectName(QStringLiteral("btnGraph"));
    btnGraph->setText(tr("&Graph"));
    btnGraph->setIcon(graphGlyph());
    btnGraph->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    grdKeyChar = new WorkshopGrid(page);
    grdKeyChar->setObjectName(QStringLiteral("grdKeyChar"));
    QLabel* Label3 = labelFor(tr("Key &Characteristics"), grdKeyChar, page, "Label3");
    GroupBox2 = buildFilterBox();
    grdMarkPot = new WorkshopGrid(page);
    grdMarkPot->setObjectName(QStringLiteral("grdMarkPot"));
    QLabel* Label5 = labelFor(tr("&Market Potential"), grdMarkPot, page, "Label5");

    setUpItemGrid();
    setUpKeyCharGrid();
    setUpMarketPotentialGrid();

    const int gap = scaledPixels(this, 6);
    auto* items = new QVBoxLayout;
    items->addWidget(Label1);
    items->addWidget(grdCust, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnGroup, 0, Qt::AlignBottom);
    buttons->addStretch();
    buttons->addWidget(btnGraph);
    items->addLayout(buttons);

    auto* texts = new QVBoxLayout;
    texts->addWidget(Label2);
    texts->addWidget(edtDesc, 1);
    texts->addWidget(Label4);
    texts->addWidget(edtKeyNeeds, 1);
    texts->addWidget(Label5);
    texts->addWidget(grdMarkPot, 1);

    auto* ratings = new QVBoxLayout;
    ratings->addWidget(Label3);
    ratings->addWidget(grdKeyChar, 1);
    ratings->addWidget(GroupBox2);

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(gap);
    layout->addLayout(items, 1);
    layout->addLayout(texts, 1);
    layout->addLayout(ratings, 1);

    grdCust->setMinimumWidth(gridWidth(grdCust));
    grdKeyChar->setMinimumWidth(gridWidth(grdKeyChar));
    grdMarkPot->setMinimumWidth(gridWidth(grdMarkPot));
    GroupBox2->setMinimumWidth(GroupBox2->sizeHint().width());
    for (QWidget* text : {static_cast<QWidget*>(edtDesc), static_cast<QWidget*>(edtKeyNeeds)})
        text->setMinimumHeight(scaledPixels(this, 48));
    grdCust->setMinimumHeight(scaledPixels(this, 200));

    setTabOrder(grdCust, edtDesc);
    setTabOrder(edtDesc, edtKeyNeeds);
    setTabOrder(edtKeyNeeds, grdMarkPot);
    setTabOrder(grdMarkPot, grdKeyChar);
    setTabOrder(grdKeyChar, EditImpFrom);
    setTabOrder(EditImpFrom, EditImpTo);
    setTabOrder(EditImpTo, EditMatchFrom);
    setTabOrder(EditMatchFrom, EditMatchTo);
    setTabOrder(EditMatchTo, btnRefresh);
    setTabOrder(btnRefresh, btnGroup);
    setTabOrder(btnGroup, btnGraph);

    connect(edtDesc, &QPlainTextEdit::textChanged, this, &TCuPrForm::textsEdited);
    connect(edtKeyNeeds, &QTextEdit::textChanged, this, &TCuPrForm::textsEdited);
    connect(btnGroup, &QPushButton::clicked, this, [this] { openGrouping(selectedItem()); });
    connect(btnGraph, &QToolButton::clicked, this, &TCuPrForm::showGraphPage);

    const HelpTopics& topics = customers ? kCustomerTopics : kProductTopics;
    help::setHelpContext(grdCust, topics.grdCust);
    help::setHelpContext(edtDesc, topics.edtDesc);
    help::setHelpContext(btnGroup, topics.btnGroup);
    help::setHelpContext(grdKeyChar, topics.grdKeyChar);
    help::setHelpContext(GroupBox2, topics.GroupBox2);
    help::setHelpContext(edtKeyNeeds, topics.edtKeyNeeds);
    help::setHelpContext(grdMarkPot, topics.grdMarkPot);
    help::setHelpContext(btnGraph, kGraphButtonTopic, graphHelpPage(mode_));
    return page;
}

void TCuPrForm::setGraphPageHelp(QPushButton* grouping)
{
    const HelpTopics& topics = mode_ == Mode::Customers ? kCustomerTopics : kProductTopics;
    // Numbers both modes (and other windows) share open this mode's own page.
    const QString page = graphHelpPage(mode_);
    help::setHelpContext(graphPage_->list(), topics.lst2Customers);
    help::setHelpContext(graphPage_->filterBox(), topics.GroupBox1);
    help::setHelpContext(graphPage_->chart()->panel(), topics.Panel1);
    help::setHelpContext(graphPage_->backButton(), kBackButtonTopic, page);
    help::setHelpContext(grouping, topics.BitBtnGrouping2);
    help::setHelpContext(graphPage_->chart()->copyButton(), kCopyButtonTopic, page);
}

// --- Item list ---------------------------------------------------------------------------------

void TCuPrForm::setUpItemGrid()
{
    grdCust->setColumnWidths({scaledPixels(this, 248)});
    grdCust->setRowSelect(true);
    grdCust->setCellStyleFunction([this](int, int row) { return itemCellStyle(row); });
    ListGridAdapter::Hooks hooks;
    hooks.committed = [this](CellCommit result, int, int row) {
        if (result != CellCommit::Added && itemList_->entryAt(row) < 0)
            return;
        protocol::UpdatingGuard updating(this);
        if (result == CellCommit::Added) {
            grdCust->setRowCount(itemList_->rowCount());
            grdCust->fitRowHeights();
            btnGroup->setEnabled(true);
        }
        loadSelectedItem();
    };
    // A sort under an open editor would leave the editor on a row that now holds another item.
    hooks.beforeSort = [this](int, Qt::MouseButton) { return !grdCust->isEditorOpen(); };
    hooks.sorted = [this](int) {
        grdCust->refresh();
        grdCust->fitRowHeights();
        sendRefresh();
    };
    hooks.deleted = [this] { sendRefresh(); };
    itemList_ = new ListGridAdapter(this, grdCust, itemGrid(mode_), std::move(hooks));
    grdCust->setCellTextFunction([this](int col, int row, CellTextUse use) -> QString {
        // A group's name is edited without its suffix.
        if (const int item = itemList_->entryAt(row); item >= 0 && use == CellTextUse::Edit)
            return toQt(items(data(), mode_)[item].Name);
        return itemList_->cellText(col, row);
    });
    connect(grdCust, &WorkshopGrid::cellSelected, this, [this] {
        protocol::UpdatingGuard updating(this);
        loadSelectedItem();
    });
}

CellStyle TCuPrForm::itemCellStyle(int row) const
{
    CellStyle style;
    if (!caseForm())
        return style;
    const auto& list = items(data(), mode_);
    if (list.InRange(row - 1) && !passesFilter(data(), mode_, list[row - 1]))
        style.color = QColor(255, 0, 0);
    return style;
}

int TCuPrForm::selectedItem() const
{
    if (!caseForm())
        return -1;
    const int row = grdCust->currentRow();
    return items(data(), mode_).InRange(row - 1) ? row - 1 : -1;
}

void TCuPrForm::wmRefresh()
{
    const int count = items(data(), mode_).Count();
    grdCust->setRowCount(count + 2);
    grdCust->refresh();
    grdCust->fitRowHeights();
    loadSelectedItem();
    rebuildBounds(data(), mode_);
    btnGroup->setEnabled(count > 0);
    loadFilterBox();
    if (graphShown())
        buildGraphList();
}

void TCuPrForm::wmCommit()
{
    // Cell edits still pending in a grid reach the model first, as their own edits; then the
    // texts and bounds, which every change already stored, are written once more in case one
    // got past its handler.
    for (WorkshopGrid* grid : {grdCust, grdKeyChar, grdMarkPot})
        grid->commitPendingEdit();
    if (!caseForm())
        return;
    const int item = selectedItem();
    if (item >= 0) {
        TCustProd& entry = items(data(), mode_)[item];
        commitShownText(entry.Description, edtDesc->plainText());
        commitShownText(entry.KeyNeeds, edtKeyNeeds->plainText());
    }
    if (GroupBox2->isEnabled())
        for (MaskedLineEdit* field : {EditImpFrom, EditImpTo, EditMatchFrom, EditMatchTo})
            commitBoundField(field);
}

void TCuPrForm::loadSelectedItem()
{
    const int item = selectedItem();
    const TCustProd* entry = item >= 0 ? &items(data(), mode_)[item] : nullptr;
    const QString description = entry ? toQt(entry->Description) : QString();
    const QString keyNeeds = entry ? toQt(entry->KeyNeeds) : QString();
    // Refilled only when they differ, so a refresh keeps the cursor where the user left it.
    if (edtDesc->plainText() != description)
        edtDesc->setPlainText(description);
    edtKeyNeeds->setPlainText(keyNeeds);
    grdKeyChar->setRowCount((entry ? entry->KeyChars.Count() : 0) + 2);
    grdMarkPot->setRowCount((entry ? entry->MarketPotential.Count() : 0) + 2);
    grdKeyChar->refresh();
    grdMarkPot->refresh();
    grdKeyChar->fitRowHeights();
    grdMarkPot->fitRowHeights();
    updateEnabledStates();
    loadFilterBox();
}

void TCuPrForm::updateEnabledStates()
{
    const bool selected = selectedItem() >= 0;
    for (QWidget* control : {static_cast<QWidget*>(edtDesc), static_cast<QWidget*>(edtKeyNeeds),
                             static_cast<QWidget*>(grdKeyChar), static_cast<QWidget*>(grdMarkPot)})
        control->setEnabled(selected);
}

void TCuPrForm::textsEdited()
{
    const int item = selectedItem();
    if (!canEdit() || item < 0)
        return;
    const TCustProd& entry = items(data(), mode_)[item];
    const QString description = edtDesc->plainText();
    const QString keyNeeds = edtKeyNeeds->plainText();
    // Reformatting the bullets also reports a change; only a changed text is an edit.
    if (!shownTextDiffers(entry.Description, description) && !shownTextDiffers(entry.KeyNeeds, keyNeeds))
        return;
    storeTexts(edit(), mode_, item, shownModelText(entry.Description, description),
               shownModelText(entry.KeyNeeds, keyNeeds));
}

// --- Grouping ----------------------------------------------------------------------------------

bool TCuPrForm::satisfiesGroupingFilter(const TCustProd& item) const
{
    if (graphShown())
        return passesGraphFilter(item, graphFilter());
    return passesFilter(data(), mode_, item);
}

void TCuPrForm::openGrouping(int item)
{
    if (!canEdit())
        return;
    const auto& list = items(data(), mode_);
    const int group = list.InRange(item) && isGroup(list[item]) ? item : -1;
    {
        TGroupingForm dialog(edit(), mode_, group,
                             [this](const TCustProd& entry) { return satisfiesGroupingFilter(entry); }, this);
        dialog.exec();
    }
    protocol::UpdatingGuard updating(this);
    grdCust->setRowCount(items(data(), mode_).Count() + 2);
    grdCust->refresh();
    grdCust->fitRowHeights();
    // The current row may hold another item now (a new group lands where the empty row was).
    loadSelectedItem();
    btnGroup->setEnabled(items(data(), mode_).Count() > 0);
    if (graphShown())
        buildGraphList();
}
