// The key-characteristic grid, the market-potential grid and the filter box of TCuPrForm's data page.

#include "workshops/customers/cu_pr_form.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include "model/case_data.h"
#include "shell/list_grid_adapter.h"
#include "widgets/edit_mask.h"
#include "widgets/edit_state.h"
#include "widgets/layout_scale.h"
#include "widgets/text_convert.h"

using namespace cust_prod;

namespace {

const QString kScoreMask = QStringLiteral("99;0; ");
const QString kAmountMask = QStringLiteral("#9999999990;0; ");

// The filter box's title; the key characteristic's name is shown as typed, "&" included.
QString filterTitle(const FilterBox& box)
{
    QString title = toQt(box.caption);
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    // The box keeps its accelerator (Alt+I) whatever it names.
    return title.replace(0, 9, QStringLiteral("F&iltering"));
}

// A market-potential value as it is read: grouped digits, no decimals.
QString groupedAmount(const QString& digits)
{
    bool ok = false;
    const qlonglong value = digits.toLongLong(&ok);
    if (!ok)
        return digits;
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(value);
}

// Column widths for the described ones, each wide enough for its title and for `widest`, the
// longest text that cannot wrap in it (a title, a number).
std::vector<int> columnWidths(const QWidget* form, const std::vector<int>& described, const QStringList& widest)
{
    const QFontMetrics metrics(form->font());
    std::vector<int> widths;
    for (std::size_t c = 0; c < described.size(); ++c) {
        // The cell's text box is inset by 2 pixels on either side.
        const int needed = metrics.horizontalAdvance(widest.value(static_cast<int>(c))) + 6;
        widths.push_back(std::max(scaledPixels(form, described[c]), needed));
    }
    return widths;
}

} // namespace

// --- Filter box --------------------------------------------------------------------------------

QGroupBox* TCuPrForm::buildFilterBox()
{
    auto* box = new QGroupBox(tr("F&iltering"), this);
    box->setObjectName(QStringLiteral("GroupBox2"));
    const auto field = [&](const char* name, const QString& accessible) {
        auto* edit = new MaskedLineEdit(box);
        edit->setObjectName(QLatin1String(name));
        edit->setEditMask(kScoreMask);
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("100")) + scaledPixels(this, 12));
        edit->setAccessibleName(accessible);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::returnPressed, this, [this, edit] { commitBoundField(edit); });
        return edit;
    };
    EditImpFrom = field("EditImpFrom", tr("Importance is between"));
    EditImpTo = field("EditImpTo", tr("Importance is between … and"));
    EditMatchFrom = field("EditMatchFrom", tr("Match is between"));
    EditMatchTo = field("EditMatchTo", tr("Match is between … and"));
    btnRefresh = new QPushButton(tr("&Refresh"), box);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    connect(btnRefresh, &QPushButton::clicked, this, &TCuPrForm::repaintItems);

    auto* layout = new QGridLayout(box);
    const auto label = [&](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, box);
        l->setBuddy(buddy);
        return l;
    };
    layout->addWidget(label(tr("Importance is between"), EditImpFrom), 0, 0);
    layout->addWidget(EditImpFrom, 0, 1);
    layout->addWidget(label(tr("and"), EditImpTo), 0, 2);
    layout->addWidget(EditImpTo, 0, 3);
    layout->addWidget(label(tr("Match is between"), EditMatchFrom), 1, 0);
    layout->addWidget(EditMatchFrom, 1, 1);
    layout->addWidget(label(tr("and"), EditMatchTo), 1, 2);
    layout->addWidget(EditMatchTo, 1, 3);
    layout->addWidget(btnRefresh, 2, 0, 1, 4, Qt::AlignRight);
    layout->setColumnStretch(4, 1);
    box->setEnabled(false);
    return box;
}

void TCuPrForm::loadFilterBox()
{
    if (!caseForm())
        return;
    const int row = grdKeyChar->currentRow();
    const FilterBox box = filterBoxFor(data(), mode_, selectedItem(), row);
    GroupBox2->setTitle(filterTitle(box));
    GroupBox2->setEnabled(box.enabled);
    const auto show = [&](MaskedLineEdit* field, BoundField which) {
        field->setText(QString::number(boundValue(data(), mode_, row - 1, which)));
    };
    // A row whose box names a key characteristic has bounds to show.
    boundRow_ = box.caption == FilterBox{}.caption ? -1 : row;
    if (boundRow_ < 0) {
        for (MaskedLineEdit* field : {EditImpFrom, EditImpTo, EditMatchFrom, EditMatchTo})
            field->clear();
        return;
    }
    show(EditImpFrom, BoundField::ImpFrom);
    show(EditImpTo, BoundField::ImpTo);
    show(EditMatchFrom, BoundField::MatchFrom);
    show(EditMatchTo, BoundField::MatchTo);
}

void TCuPrForm::commitBoundField(MaskedLineEdit* field)
{
    if (!caseForm() || protocol::updating(this) || boundRow_ < 1)
        return;
    const BoundField which = field == EditImpFrom ? BoundField::ImpFrom
        : field == EditImpTo                      ? BoundField::ImpTo
        : field == EditMatchFrom                  ? BoundField::MatchFrom
                                                  : BoundField::MatchTo;
    const BoundEntry entry = setBound(data(), mode_, boundRow_ - 1, which, toModel(field->text()));
    if (entry.limited)
        field->setText(QString::number(entry.value));
    repaintItems();
}

bool TCuPrForm::eventFilter(QObject* watched, QEvent* event)
{
    // A bound is stored when the user leaves its field, whichever way.
    if (event->type() == QEvent::FocusOut)
        for (MaskedLineEdit* field : {EditImpFrom, EditImpTo, EditMatchFrom, EditMatchTo})
            if (watched == field)
                commitBoundField(field);
    return TWorkshopForm::eventFilter(watched, event);
}

void TCuPrForm::repaintItems()
{
    grdCust->viewport()->update();
}

// --- Key characteristics -----------------------------------------------------------------------

void TCuPrForm::setUpKeyCharGrid()
{
    grdKeyChar->setColumnWidths(columnWidths(this, {173, 57, 36}, {QString(), tr("Importance"), tr("Match")}));
    grdKeyChar->setCellStyleFunction([this](int, int row) { return keyCharCellStyle(row); });
    grdKeyChar->setEditMaskFunction([](int col, int) { return col > 0 ? kScoreMask : QString(); });
    grdKeyChar->setKeyDownHandler([this](QKeyEvent* event) { return keyCharKeyDown(event); });
    ListGridAdapter::Hooks hooks;
    hooks.committed = [this](CellCommit result, int, int) {
        if (result == CellCommit::Unchanged)
            return;
        protocol::UpdatingGuard updating(this);
        if (result == CellCommit::Added)
            grdKeyChar->setRowCount(keyChars_->rowCount());
        grdKeyChar->refresh();
        loadFilterBox();
        repaintItems();
    };
    hooks.beforeSort = [this](int, Qt::MouseButton button) {
        return button == Qt::LeftButton && !grdKeyChar->isEditorOpen();
    };
    hooks.sorted = [this](int) {
        protocol::UpdatingGuard updating(this);
        loadFilterBox();
        grdKeyChar->refresh();
        grdKeyChar->fitRowHeights();
    };
    hooks.deleted = [this] {
        protocol::UpdatingGuard updating(this);
        grdKeyChar->setRowCount(keyChars_->rowCount());
        grdKeyChar->fitRowHeights();
        loadFilterBox();
        repaintItems();
    };
    keyChars_ = new ListGridAdapter(this, grdKeyChar, keyCharGrid(mode_, [this] { return selectedItem(); }),
                                    std::move(hooks));
    connect(grdKeyChar, &WorkshopGrid::cellSelected, this, [this] {
        protocol::UpdatingGuard updating(this);
        loadFilterBox();
    });
    connect(grdKeyChar, &WorkshopGrid::cellPressed, this,
            [this](int col, int row, Qt::MouseButton button) { keyCharPressed(col, row, button); });
}

CellStyle TCuPrForm::keyCharCellStyle(int row) const
{
    CellStyle style;
    const int item = selectedItem();
    if (item >= 0 && keyCharRowExcluded(&items(data(), mode_)[item], row))
        style.color = QColor(255, 0, 0);
    return style;
}

bool TCuPrForm::keyCharKeyDown(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::AltModifier) {
        toggleKeyChar(grdKeyChar->currentRow());
        return true;
    }
    return false;
}

void TCuPrForm::keyCharPressed(int col, int row, Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    if (col == 0)
        toggleKeyChar(row);
    protocol::UpdatingGuard updating(this);
    loadFilterBox();
}

void TCuPrForm::toggleKeyChar(int row)
{
    const int item = selectedItem();
    if (!canEdit() || item < 0 || !items(data(), mode_)[item].KeyChars.InRange(row - 1))
        return;
    toggleApplicability(edit(), mode_, item, row - 1);
    protocol::UpdatingGuard updating(this);
    grdKeyChar->refreshRows(row, row);
    loadFilterBox();
    repaintItems();
}

// --- Market potential --------------------------------------------------------------------------

void TCuPrForm::setUpMarketPotentialGrid()
{
    grdMarkPot->setColumnWidths(columnWidths(this, {203, 64}, {QString(), groupedAmount(QStringLiteral("-2147483648"))}));
    grdMarkPot->setCellStyleFunction([this](int col, int row) {
        CellStyle style;
        if (col == 1 && row > 0)
            style.alignment = Qt::AlignRight;
        if (row > 0 && selectedItem() < 0)
            style.color = palette().color(QPalette::Disabled, QPalette::Text);
        return style;
    });
    grdMarkPot->setEditMaskFunction([](int col, int) { return col == 1 ? kAmountMask : QString(); });
    ListGridAdapter::Hooks hooks;
    hooks.committed = [this](CellCommit result, int, int) {
        if (result != CellCommit::Added)
            return;
        protocol::UpdatingGuard updating(this);
        grdMarkPot->setRowCount(marketPotential_->rowCount());
    };
    hooks.beforeSort = [this](int, Qt::MouseButton) { return !grdMarkPot->isEditorOpen(); };
    hooks.sorted = [this](int) {
        grdMarkPot->refresh();
        grdMarkPot->fitRowHeights();
        sendRefresh();
    };
    hooks.deleted = [this] {
        protocol::UpdatingGuard updating(this);
        grdMarkPot->setRowCount(marketPotential_->rowCount());
        grdMarkPot->fitRowHeights();
    };
    marketPotential_ = new ListGridAdapter(this, grdMarkPot, marketPotentialGrid(mode_, [this] { return selectedItem(); }),
                                           std::move(hooks));
    grdMarkPot->setCellTextFunction([this](int col, int row, CellTextUse use) -> QString {
        const QString text = marketPotential_->cellText(col, row);
        // Read with digit grouping, edited as plain digits.
        return col == 1 && row > 0 && use != CellTextUse::Edit ? groupedAmount(text) : text;
    });
}
