#include "workshops/customers/grouping_form.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "shell/help_window.h"
#include "widgets/buddy_label.h"
#include "widgets/layout_scale.h"
#include "widgets/text_convert.h"

using namespace cust_prod;

namespace {

constexpr int kItemRole = Qt::UserRole;

void fill(QListWidget* widget, const std::vector<GroupingEntry>& entries)
{
    widget->clear();
    for (const GroupingEntry& entry : entries) {
        auto* row = new QListWidgetItem(toQt(entry.name), widget);
        row->setData(kItemRole, entry.item);
        row->setSelected(entry.selected);
    }
}

void take(const QListWidget* widget, std::vector<GroupingEntry>& entries)
{
    // The widget shows the entries in the list's order, one row each.
    for (int i = 0; i < widget->count() && i < static_cast<int>(entries.size()); ++i)
        entries[static_cast<std::size_t>(i)].selected = widget->item(i)->isSelected();
}

} // namespace

TGroupingForm::TGroupingForm(CaseEdit& edit, Mode mode, int group, ItemFilter satisfies, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      edit_(edit), mode_(mode), group_(group), satisfies_(std::move(satisfies))
{
    setObjectName(QStringLiteral("TGroupingForm"));
    setModal(true);
    setWindowTitle(QString());

    const bool customers = mode == Mode::Customers;
    const auto list = [this](const char* name) {
        auto* widget = new QListWidget(this);
        widget->setObjectName(QLatin1String(name));
        // Each click toggles one entry, as in a multi-select list box.
        widget->setSelectionMode(QAbstractItemView::MultiSelection);
        return widget;
    };
    const auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };

    CustListBox = list("CustListBox");
    OthersListBox = list("OthersListBox");
    FilteredListBox = list("FilteredListBox");
    QLabel* Label1 = labelFor(customers ? tr("&Customers Satisfying the Filtering Conditions")
                                        : tr("Produ&cts Satisfying the Filtering Conditions"),
                              CustListBox, this, "Label1");
    QLabel* Label4 = labelFor(customers ? tr("&Other Customers") : tr("&Other Products"), OthersListBox, this, "Label4");
    QLabel* Label3 = labelFor(tr("&Group Contents"), FilteredListBox, this, "Label3");
    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setValidator(new Cp1252Validator(NameEdit));
    QLabel* Label2 = labelFor(tr("&Name of Group"), NameEdit, this, "Label2");

    QPushButton* BitBtn3 = button(QStringLiteral(">>"), "BitBtn3");
    QPushButton* BitBtn1 = button(QStringLiteral(">"), "BitBtn1");
    QPushButton* BitBtn2 = button(QStringLiteral("<"), "BitBtn2");
    QPushButton* BitBtn4 = button(QStringLiteral("<<"), "BitBtn4");
    BitBtn3->setAccessibleDescription(tr("Moves all entries into the group"));
    BitBtn1->setAccessibleDescription(tr("Moves the selected entries into the group"));
    BitBtn2->setAccessibleDescription(tr("Takes the selected entries out of the group"));
    BitBtn4->setAccessibleDescription(tr("Takes all entries out of the group"));
    for (QPushButton* arrow : {BitBtn3, BitBtn1, BitBtn2, BitBtn4}) {
        QFont bold = arrow->font();
        bold.setBold(true);
        arrow->setFont(bold);
        arrow->setFixedWidth(arrow->fontMetrics().horizontalAdvance(QStringLiteral(">>")) + scaledPixels(this, 20));
    }
    CreateGroupButton = button(tr("Create G&roup"), "CreateGroupButton");
    ModifyButton = button(tr("&Modify Group"), "ModifyButton");
    QPushButton* CancelButton = button(tr("Cancel"), "CancelButton");

    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    for (QPushButton* arrow : {BitBtn3, BitBtn1, BitBtn2, BitBtn4})
        arrows->addWidget(arrow);
    arrows->addStretch();
    auto* actions = new QVBoxLayout;
    actions->addWidget(Label2);
    actions->addWidget(NameEdit);
    actions->addSpacing(scaledPixels(this, 8));
    actions->addWidget(CreateGroupButton);
    actions->addWidget(ModifyButton);
    actions->addWidget(CancelButton);
    actions->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(CustListBox, 1, 0);
    layout->addWidget(Label4, 2, 0);
    layout->addWidget(OthersListBox, 3, 0);
    layout->addLayout(arrows, 0, 1, 4, 1);
    layout->addWidget(Label3, 0, 2);
    layout->addWidget(FilteredListBox, 1, 2, 3, 1);
    layout->addLayout(actions, 0, 3, 4, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);
    for (QListWidget* widget : {CustListBox, OthersListBox, FilteredListBox})
        widget->setMinimumWidth(scaledPixels(this, 170));
    NameEdit->setMinimumWidth(scaledPixels(this, 120));

    setTabOrder(CustListBox, OthersListBox);
    setTabOrder(OthersListBox, BitBtn3);
    setTabOrder(BitBtn3, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn4);
    setTabOrder(BitBtn4, FilteredListBox);
    setTabOrder(FilteredListBox, NameEdit);
    setTabOrder(NameEdit, CreateGroupButton);
    setTabOrder(CreateGroupButton, ModifyButton);
    setTabOrder(ModifyButton, CancelButton);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(false); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn1Click(true); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(false); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn2Click(true); });
    connect(NameEdit, &QLineEdit::textChanged, this, &TGroupingForm::NameEditChange);
    connect(CreateGroupButton, &QPushButton::clicked, this, &TGroupingForm::CreateGroupButtonClick);
    connect(ModifyButton, &QPushButton::clicked, this, &TGroupingForm::ModifyButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // The shell's F1 does not reach a modal dialog; the dialog opens its own page.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            [] { help::showPage(QStringLiteral("grouping.html")); });

    const TCaseData& data = edit_.data();
    lists_ = setUpGrouping(data, mode_, group_, satisfies_);
    showLists();
    const auto& entries = items(data, mode_);
    if (entries.InRange(group_))
        NameEdit->setText(toQt(entries[group_].Name));
    NameEditChange();

    const QSize size = layout->sizeHint().expandedTo(scaledSize(this, 622, 251));
    setFixedSize(size);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TGroupingForm::takeSelections()
{
    take(CustListBox, lists_.satisfying);
    take(OthersListBox, lists_.others);
    take(FilteredListBox, lists_.contents);
}

void TGroupingForm::showLists()
{
    fill(CustListBox, lists_.satisfying);
    fill(OthersListBox, lists_.others);
    fill(FilteredListBox, lists_.contents);
    NameEditChange();
}

void TGroupingForm::BitBtn1Click(bool all)
{
    takeSelections();
    moveToContents(lists_, all);
    showLists();
}

void TGroupingForm::BitBtn2Click(bool all)
{
    takeSelections();
    moveFromContents(lists_, all, edit_.data(), mode_, satisfies_);
    showLists();
}

void TGroupingForm::NameEditChange()
{
    CreateGroupButton->setEnabled(canCreateGroup(toModel(NameEdit->text()), lists_.contents));
    ModifyButton->setEnabled(group_ >= 0 && canModifyGroup(lists_.contents));
}

void TGroupingForm::CreateGroupButtonClick()
{
    const int created = createGroup(edit_, mode_, toModel(NameEdit->text()), lists_.contents);
    if (created < 0)
        return;
    stored_ = created;
    accept();
}

void TGroupingForm::ModifyButtonClick()
{
    if (!modifyGroup(edit_, mode_, group_, toModel(NameEdit->text()), lists_.contents))
        return;
    stored_ = group_;
    accept();
}
