#include "workshops/customers/market_grp_form.h"

#include "model/case_data.h"
#include "shell/clipboard_commands.h"
#include "shell/help_window.h"
#include "shell/workshop_catalog.h"
#include "widgets/buddy_label.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/edit_state.h"
#include "widgets/layout_scale.h"
#include "widgets/text_convert.h"

#include <QButtonGroup>
#include <QStyle>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

using namespace market_groups;

namespace {

constexpr int kNodeRole = Qt::UserRole;
constexpr int kStatusMilliseconds = 10000;

void registerHelpTopics()
{
    help::registerTopic(55000, QStringLiteral("marketgroups.html#groups"));
    help::registerTopic(55005, QStringLiteral("marketgroups.html#type"));
    help::registerTopic(55010, QStringLiteral("marketgroups.html#remarks"));
    help::registerTopic(55015, QStringLiteral("marketgroups.html#select"));
    help::registerTopic(55020, QStringLiteral("marketgroups.html#name"));
    help::registerTopic(55025, QStringLiteral("marketgroups.html#create"));
    help::registerTopic(55030, QStringLiteral("marketgroups.html#modify"));
}

// A label for `buddy`, which takes the label's text (without its accelerator) as accessible name.
QListWidget* choiceList(const QString& objectName, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(objectName);
    // Each click toggles the entry it hits, as in a classic multi-select list box.
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    help::setHelpContext(list, 55015);
    return list;
}

void fillList(QListWidget* list, const std::vector<std::string>& names)
{
    list->clear();
    for (const std::string& name : names)
        list->addItem(toQt(name));
}

std::vector<int> selectedRows(const QListWidget* list)
{
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows.push_back(i);
    return rows;
}

void selectRows(QListWidget* list, const std::vector<int>& rows)
{
    list->clearSelection();
    for (int i : rows)
        if (QListWidgetItem* item = list->item(i))
            item->setSelected(true);
}

} // namespace

TMarketGrpForm::TMarketGrpForm(QWidget* parent) : TWorkshopForm(workshop_id::MarketGroups, parent)
{
    registerHelpTopics();
    buildLayout();
    resize(scaledSize(this, 602, 331));
}

void TMarketGrpForm::buildLayout()
{
    GroupView = new QTreeWidget(this);
    GroupView->setObjectName(QStringLiteral("GroupView"));
    GroupView->setColumnCount(1);
    GroupView->header()->hide();
    GroupView->setIndentation(scaledPixels(this, 19));
    GroupView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GroupView->setSelectionMode(QAbstractItemView::SingleSelection);
    GroupView->installEventFilter(this);
    help::setHelpContext(GroupView, 55000);
    auto* Label5 = labelFor(tr("Strategic Market &Groups"), GroupView, this);

    RadioType = new QGroupBox(tr("Service &Type"), this);
    RadioType->setObjectName(QStringLiteral("RadioType"));
    RadioIndependent = new QRadioButton(tr("Independent"), RadioType);
    RadioIndependent->setObjectName(QStringLiteral("RadioIndependent"));
    RadioPartner = new QRadioButton(tr("Partner"), RadioType);
    RadioPartner->setObjectName(QStringLiteral("RadioPartner"));
    auto* types = new QButtonGroup(this);
    types->addButton(RadioIndependent, kIndependent);
    types->addButton(RadioPartner, kPartner);
    auto* typeLayout = new QHBoxLayout(RadioType);
    typeLayout->addWidget(RadioIndependent);
    typeLayout->addWidget(RadioPartner);
    typeLayout->addStretch();
    help::setHelpContext(RadioType, 55005);

    EditRemarks = new Cp1252PlainTextEdit(this);
    EditRemarks->setObjectName(QStringLiteral("EditRemarks"));
    EditRemarks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EditRemarks->setTabChangesFocus(true);
    help::setHelpContext(EditRemarks, 55010);
    auto* Label7 = labelFor(tr("&Remarks"), EditRemarks, this);

    EditName = new QLineEdit(this);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setValidator(new Cp1252Validator(EditName));
    help::setHelpContext(EditName, 55020);
    auto* Label1 = labelFor(tr("&Name of Group:"), EditName, this);

    BtnCreate = new QPushButton(tr("Cre&ate Group"), this);
    BtnCreate->setObjectName(QStringLiteral("BtnCreate"));
    help::setHelpContext(BtnCreate, 55025);
    BtnModify = new QPushButton(tr("&Modify Group"), this);
    BtnModify->setObjectName(QStringLiteral("BtnModify"));
    help::setHelpContext(BtnModify, 55030);

    CustListBox = choiceList(QStringLiteral("CustListBox"), this);
    ServiceListBox = choiceList(QStringLiteral("ServiceListBox"), this);
    CapsListBox = choiceList(QStringLiteral("CapsListBox"), this);
    auto* Label4 = labelFor(tr("Select &Customers"), CustListBox, this);
    auto* Label3 = labelFor(tr("Select &Services"), ServiceListBox, this);
    auto* Label2 = labelFor(tr("Select Ca&pabilities"), CapsListBox, this);
    const auto clearButton = [this](const QString& objectName, const QString& listName) {
        auto* button = new QPushButton(tr("Clear"), this);
        button->setObjectName(objectName);
        button->setAccessibleDescription(tr("Deselects every entry of %1").arg(listName));
        help::setHelpContext(button, 55015);
        return button;
    };
    QPushButton* BtnClearCust = clearButton(QStringLiteral("BtnClearCust"), tr("Select Customers"));
    QPushButton* BtnClearServices = clearButton(QStringLiteral("BtnClearServices"), tr("Select Services"));
    QPushButton* BtnClearCaps = clearButton(QStringLiteral("BtnClearCaps"), tr("Select Capabilities"));

    // The tree beside the fields of the selected node and the name box with its commands; below
    // them the three lists side by side, so long names fit in a window of moderate width.
    auto* treeColumn = new QVBoxLayout;
    treeColumn->addWidget(Label5);
    treeColumn->addWidget(GroupView, 1);

    auto* commands = new QHBoxLayout;
    commands->addWidget(BtnCreate);
    commands->addWidget(BtnModify);
    commands->addStretch();
    auto* fieldColumn = new QVBoxLayout;
    fieldColumn->addWidget(Label1);
    fieldColumn->addWidget(EditName);
    fieldColumn->addLayout(commands);
    fieldColumn->addWidget(RadioType);
    fieldColumn->addWidget(Label7);
    fieldColumn->addWidget(EditRemarks, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(treeColumn, 1);
    top->addLayout(fieldColumn, 1);

    auto* lists = new QGridLayout;
    const QList<QLabel*> listLabels{Label4, Label3, Label2};
    const QList<QListWidget*> listBoxes{CustListBox, ServiceListBox, CapsListBox};
    const QList<QPushButton*> clearButtons{BtnClearCust, BtnClearServices, BtnClearCaps};
    for (int c = 0; c < 3; ++c) {
        lists->addWidget(listLabels[c], 0, c);
        lists->addWidget(listBoxes[c], 1, c);
        lists->addWidget(clearButtons[c], 2, c, Qt::AlignLeft);
        lists->setColumnStretch(c, 1);
        listBoxes[c]->setMinimumWidth(scaledPixels(this, 110));
    }
    lists->setRowStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addLayout(lists, 2);
    GroupView->setMinimumWidth(scaledPixels(this, 180));
    EditRemarks->setMinimumWidth(scaledPixels(this, 180));

    setTabOrder(GroupView, RadioIndependent);
    setTabOrder(RadioIndependent, RadioPartner);
    setTabOrder(RadioPartner, EditRemarks);
    setTabOrder(EditRemarks, EditName);
    setTabOrder(EditName, BtnCreate);
    setTabOrder(BtnCreate, BtnModify);
    setTabOrder(BtnModify, CustListBox);
    setTabOrder(CustListBox, BtnClearCust);
    setTabOrder(BtnClearCust, ServiceListBox);
    setTabOrder(ServiceListBox, BtnClearServices);
    setTabOrder(BtnClearServices, CapsListBox);
    setTabOrder(CapsListBox, BtnClearCaps);

    connect(GroupView, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { GroupViewChange(item); });
    connect(EditRemarks, &QPlainTextEdit::textChanged, this, &TMarketGrpForm::EditRemarksChange);
    connect(types, &QButtonGroup::idClicked, this, &TMarketGrpForm::RadioTypeClick);
    connect(EditName, &QLineEdit::textChanged, this, &TMarketGrpForm::EditNameChange);
    connect(BtnCreate, &QPushButton::clicked, this, &TMarketGrpForm::BtnCreateClick);
    connect(BtnModify, &QPushButton::clicked, this, &TMarketGrpForm::BtnModifyClick);
    connect(BtnClearCust, &QPushButton::clicked, CustListBox, &QListWidget::clearSelection);
    connect(BtnClearServices, &QPushButton::clicked, ServiceListBox, &QListWidget::clearSelection);
    connect(BtnClearCaps, &QPushButton::clicked, CapsListBox, &QListWidget::clearSelection);

    BtnCreate->setEnabled(false);
    BtnModify->setEnabled(false);
    RadioType->setEnabled(false);
    EditRemarks->setEnabled(false);
}

void TMarketGrpForm::wmCommit()
{
    // Every edit of this window is stored the moment it is made; the name box only feeds the
    // Create and Modify commands.
}

void TMarketGrpForm::wmRefresh()
{
    protocol::UpdatingGuard updating(this);
    EditRemarks->setEnabled(false);
    fillChoiceLists();
    buildTree();
    selectFirstGroup();
    RadioType->setEnabled(false);
    if (!fittedToContent_) {
        fittedToContent_ = true;
        fitToContent();
    }
}

void TMarketGrpForm::fitToContent()
{
    const auto widthFor = [this](QAbstractItemView* view, int least, int most) {
        const int content = view->sizeHintForColumn(0) + 2 * view->frameWidth()
            + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + scaledPixels(this, 6);
        return std::clamp(content, scaledPixels(this, least), scaledPixels(this, most));
    };
    const auto heightFor = [this](QAbstractItemView* view, int rows, int least, int most) {
        const int row = std::max(view->sizeHintForRow(0), view->fontMetrics().height());
        return std::clamp(rows * row + 2 * view->frameWidth() + scaledPixels(this, 4), scaledPixels(this, least),
                          scaledPixels(this, most));
    };
    GroupView->setMinimumWidth(widthFor(GroupView, 180, 340));
    GroupView->setMinimumHeight(heightFor(GroupView, static_cast<int>(nodes_.size()), 120, 300));
    for (QListWidget* list : {CustListBox, ServiceListBox, CapsListBox}) {
        list->setMinimumWidth(widthFor(list, 110, 230));
        list->setMinimumHeight(heightFor(list, list->count(), 60, 200));
    }
    // Nested layouts keep their old minimum until the whole tree is invalidated and activated.
    layout()->invalidate();
    layout()->activate();
    const QSize wanted = layout()->minimumSize().expandedTo(size());
    if (QWidget* frame = subWindow())
        frame->resize(frame->size() + (wanted - size()));
    else
        resize(wanted);
}

void TMarketGrpForm::activationRefresh()
{
    protocol::UpdatingGuard updating(this);
    fillChoiceLists();
    buildTree();
    showNoNode();
    // The lists show no selection now: Modify would empty the group. It waits until a node of a
    // group is selected again and loads what the group holds.
    BtnModify->setEnabled(false);
    if (!data().MarketGroups.InRange(currentGroup_))
        currentGroup_ = -1;
}

void TMarketGrpForm::followCaseChanges()
{
    const TreeNode* selected = selectedNode();
    const std::optional<TreeNode> was = selected ? std::optional<TreeNode>(*selected) : std::nullopt;
    const int scrolled = GroupView->verticalScrollBar()->value();
    activationRefresh();
    if (!was)
        return;
    // The same node, or else its group's node: entries are known by position, so one that now
    // shows another name is not the one that was selected.
    QTreeWidgetItem* again = nullptr;
    for (QTreeWidgetItemIterator it(GroupView); *it && !again; ++it) {
        const TreeNode* node = nodeOf(*it);
        if (node && node->kind == was->kind && node->group == was->group && node->category == was->category
            && node->entry == was->entry && node->text == was->text)
            again = *it;
    }
    if (!again && data().MarketGroups.InRange(was->group))
        for (QTreeWidgetItemIterator it(GroupView); *it && !again; ++it)
            if (const TreeNode* node = nodeOf(*it); node && node->kind == TreeNode::Kind::Group && node->group == was->group)
                again = *it;
    if (again)
        GroupView->setCurrentItem(again); // loads the fields beside it
    GroupView->verticalScrollBar()->setValue(scrolled);
}

void TMarketGrpForm::fillChoiceLists()
{
    const ChoiceLists lists = choiceLists(data());
    fillList(CustListBox, lists.customers);
    fillList(ServiceListBox, lists.services);
    fillList(CapsListBox, lists.capabilities);
}

void TMarketGrpForm::buildTree()
{
    // The old items go before the nodes they point to.
    GroupView->clear();
    nodes_ = groupTree(data());
    QTreeWidgetItem* parents[2] = {nullptr, nullptr};
    QList<QTreeWidgetItem*> roots;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const TreeNode& node = nodes_[i];
        auto* item = node.depth == 0 ? new QTreeWidgetItem : new QTreeWidgetItem(parents[node.depth - 1]);
        item->setText(0, node.kind == TreeNode::Kind::Heading ? translated(core_text::kWorkshopTexts, {node.text.c_str()})
                                                              : toQt(node.text));
        item->setData(0, kNodeRole, static_cast<int>(i));
        item->setData(0, kCopyDepthRole, node.depth);
        if (node.depth == 0)
            roots.append(item);
        if (node.depth < 2)
            parents[node.depth] = item;
    }
    GroupView->addTopLevelItems(roots);
    GroupView->expandAll();
}

void TMarketGrpForm::selectFirstGroup()
{
    if (data().MarketGroups.Empty()) {
        protocol::UpdatingGuard updating(this);
        currentGroup_ = -1;
        EditName->clear();
        EditRemarks->clear();
        EditRemarks->setEnabled(false);
        RadioType->setEnabled(false);
        BtnModify->setEnabled(false);
        BtnCreate->setEnabled(false);
        return;
    }
    currentGroup_ = 0;
    BtnModify->setEnabled(true);
    if (QTreeWidgetItem* first = GroupView->topLevelItem(0)) {
        GroupView->setCurrentItem(first);
        // Loaded even when the item was current already, so the fields always show the group.
        GroupViewChange(first);
    }
}

void TMarketGrpForm::showNoNode()
{
    protocol::UpdatingGuard updating(this);
    EditRemarks->clear();
    EditRemarks->setEnabled(false);
    RadioType->setEnabled(false);
}

const TreeNode* TMarketGrpForm::nodeOf(const QTreeWidgetItem* item) const
{
    if (!item)
        return nullptr;
    const int index = item->data(0, kNodeRole).toInt();
    return index >= 0 && index < static_cast<int>(nodes_.size()) ? &nodes_[static_cast<std::size_t>(index)] : nullptr;
}

const TreeNode* TMarketGrpForm::selectedNode() const
{
    // The current item is the node the fields were loaded from.
    return nodeOf(GroupView->currentItem());
}

Selection TMarketGrpForm::listSelection() const
{
    return {selectedRows(CustListBox), selectedRows(ServiceListBox), selectedRows(CapsListBox)};
}

void TMarketGrpForm::showListSelection(const Selection& selection)
{
    selectRows(CustListBox, selection.customers);
    selectRows(ServiceListBox, selection.services);
    selectRows(CapsListBox, selection.capabilities);
}

void TMarketGrpForm::GroupViewChange(QTreeWidgetItem* item)
{
    const TreeNode* node = nodeOf(item);
    if (!node)
        return;
    // Showing a node's values is no edit.
    protocol::UpdatingGuard updating(this);
    const NodeView view = viewOf(data(), *node);
    currentGroup_ = node->group;
    BtnModify->setEnabled(true);
    EditName->setText(toQt(view.groupName));
    RadioType->setEnabled(false);
    EditRemarks->setPlainText(view.remarksEnabled ? toQt(view.remark) : QString());
    EditRemarks->setEnabled(view.remarksEnabled);
    if (view.typeEnabled) {
        RadioType->setEnabled(true);
        (view.serviceType == kPartner ? RadioPartner : RadioIndependent)->setChecked(true);
    }
    showListSelection(view.selection);
}

void TMarketGrpForm::GroupViewDelete()
{
    const TreeNode* node = selectedNode();
    if (!node || !canEdit())
        return;
    if (!deleteGroup(edit(), node->group, questions()))
        return;
    buildTree();
    selectFirstGroup();
}

void TMarketGrpForm::EditRemarksChange()
{
    if (!canEdit())
        return;
    if (const TreeNode* node = selectedNode())
        setRemark(edit(), *node, toModel(EditRemarks->plainText()));
}

void TMarketGrpForm::RadioTypeClick(int type)
{
    if (!canEdit())
        return;
    if (const TreeNode* node = selectedNode())
        setServiceType(edit(), *node, type);
}

void TMarketGrpForm::EditNameChange()
{
    BtnCreate->setEnabled(!EditName->text().isEmpty());
}

void TMarketGrpForm::BtnCreateClick()
{
    if (!canEdit())
        return;
    Selection selection = listSelection();
    const std::string name = toModel(EditName->text());
    const CreateOutcome outcome = createGroup(edit(), name, selection, questions());
    showListSelection(selection);
    if (outcome == CreateOutcome::NameExists) {
        showStatus(translated(core_text::kWorkshopTexts, {kNameExistsMessage, name}));
        return;
    }
    if (outcome != CreateOutcome::Created)
        return;
    BtnModify->setEnabled(true);
    buildTree();
    selectFirstGroup();
}

void TMarketGrpForm::BtnModifyClick()
{
    if (!canEdit())
        return;
    Selection selection = listSelection();
    if (!modifyGroup(edit(), currentGroup_, toModel(EditName->text()), selection, questions()))
        return;
    buildTree();
    selectFirstGroup();
}

void TMarketGrpForm::showStatus(const QString& text)
{
    if (auto* frame = qobject_cast<QMainWindow*>(window()))
        frame->statusBar()->showMessage(text, kStatusMilliseconds);
}

bool TMarketGrpForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == GroupView && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Delete && modifiers == Qt::AltModifier) {
            GroupViewDelete();
            return true;
        }
    }
    return TWorkshopForm::eventFilter(watched, event);
}
