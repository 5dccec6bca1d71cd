#include "workshops/capabilities/inv_all_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QVBoxLayout>

#include <algorithm>

#include "model/case_data.h"
#include "shell/help_window.h"
#include "shell/workshop_catalog.h"
#include "widgets/buddy_label.h"
#include "widgets/bullet_text_edit.h"
#include "widgets/layout_scale.h"
#include "widgets/text_convert.h"
#include "widgets/workshop_grid.h"

namespace {

void registerHelpTopics()
{
    static const bool registered = [] {
        help::registerTopic(57500, QStringLiteral("alliances.html#grid"));
        help::registerTopic(57505, QStringLiteral("alliances.html#decisions"));
        return true;
    }();
    Q_UNUSED(registered);
}

// Rows hold one line of text or a check box, whichever is higher.
int defaultRowHeightFor(const QWidget* grid)
{
    QStyleOptionButton option;
    option.initFrom(grid);
    const int indicator = grid->style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, grid);
    return std::max(grid->fontMetrics().height(), indicator) + 2;
}

} // namespace

TInvAllForm::TInvAllForm(QWidget* parent) : TWorkshopForm(workshop_id::Alliances, parent)
{
    registerHelpTopics();
    grdCap = new WorkshopGrid(this);
    grdCap->setObjectName(QStringLiteral("grdCap"));
    QLabel* Label1 = labelFor(tr("&List of Capabilities"), grdCap, this);
    grdCap->setColumnCount(alliances::ColumnCount);
    grdCap->setEditingEnabled(false);
    grdCap->setRowSelect(true);
    grdCap->setShowGrid(false); // horizontal lines only, drawn with the cells
    grdCap->setFitRowHeightsOnSelect(false);
    grdCap->setDefaultRowHeight(defaultRowHeightFor(grdCap));
    grdCap->setGridRowHeight(0, 2 * grdCap->defaultRowHeight());
    grdCap->setCellTextFunction([this](int col, int row, CellTextUse) -> QString {
        if (row == 0)
            return translated(core_text::kGridTitles, {alliances::columnTitle(col)}).replace(u'\r', u'\n');
        if (!caseForm())
            return {};
        const TCapability* capability = alliances::rowCapability(data(), rows_, row - 1);
        if (!capability)
            return {};
        if (col == alliances::ColName)
            return toQt(capability->Name);
        // Not drawn (a check box is), but read out by screen readers.
        return alliances::isChosen(*capability, col)
                   ? translated(core_text::kWorkshopTexts, {alliances::choiceWord(col)})
                   : QString();
    });
    grdCap->setCellPainter([this](QPainter& painter, const QRect& cell, int col, int row) {
        return paintCell(painter, cell, col, row);
    });
    // The clipboard takes CR LF line ends, which toQt would turn into LF.
    grdCap->setCopyTextFunction([this] {
        return caseForm() ? toQt(alliances::allianceCopyText(data(), rows_)).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))
                          : QString();
    });
    grdCap->setKeyDownHandler([this](QKeyEvent* event) { return grdCapKeyDown(event); });
    connect(grdCap, &WorkshopGrid::cellPressed, this,
            [this](int col, int row, Qt::MouseButton button) { grdCapMouseDown(col, row, button); });
    connect(grdCap, &WorkshopGrid::titlePressed, this,
            [this](int col, Qt::MouseButton button) { grdCapTitleDown(col, button); });
    connect(grdCap, &WorkshopGrid::cellSelected, this, [this](int, int row) {
        if (row != shownRow_)
            grdCapClick();
        else
            grdCap->viewport()->update();
    });
    help::setHelpContext(grdCap, 57500);

    edtDecisions = new BulletTextEdit(this);
    edtDecisions->setObjectName(QStringLiteral("edtDecisions"));
    edtDecisions->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QLabel* Label2 = labelFor(tr("&Preliminary Decisions in Regards of Alliances and Investments"), edtDecisions, this);
    help::setHelpContext(edtDecisions, 57505);
    updating_ = true;
    edtDecisions->setPlainText(QString());
    updating_ = false;
    connect(edtDecisions, &QTextEdit::textChanged, this, [this] { edtDecisionsChange(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(scaledPixels(this, 8), scaledPixels(this, 6), scaledPixels(this, 8), scaledPixels(this, 8));
    layout->setSpacing(scaledPixels(this, 2));
    layout->addWidget(Label1);
    layout->addWidget(grdCap, 3);
    layout->addSpacing(scaledPixels(this, 6));
    layout->addWidget(Label2);
    layout->addWidget(edtDecisions, 2);
    setTabOrder(grdCap, edtDecisions);

    grdCap->setMinimumHeight(scaledPixels(this, 120));
    edtDecisions->setMinimumHeight(scaledPixels(this, 60));
    resize(scaledSize(this, 741, 407).expandedTo(minimumSizeHint()));
    layOutColumns();
}

void TInvAllForm::showEvent(QShowEvent* event)
{
    TWorkshopForm::showEvent(event);
    // The widths follow the grid's real width once, when it is first known; afterwards they are
    // the user's to change.
    if (!columnsLaidOut_) {
        columnsLaidOut_ = true;
        layOutColumns();
    }
}

void TInvAllForm::layOutColumns()
{
    int width = grdCap->width();
    if (!columnsLaidOut_) // not laid out yet: the width the window was made for
        width = size().width() - 2 * scaledPixels(this, 8);
    const int w = width - 2 * grdCap->frameWidth() - grdCap->verticalScrollBar()->sizeHint().width();
    grdCap->setGridColumnWidth(alliances::ColName, std::max(w / 3, 1));
    for (int col = alliances::ColCentralized; col <= alliances::ColPartner; ++col)
        grdCap->setGridColumnWidth(col, std::max(w / 9, 1));
}

void TInvAllForm::wmCommit()
{
    TCapability* capability = caseForm() ? alliances::rowCapability(data(), rows_, shownRow_ - 1) : nullptr;
    if (!capability) {
        updating_ = true;
        edtDecisions->clear();
        updating_ = false;
        return;
    }
    // Every keystroke is stored as it is typed, so the field normally holds what the capability
    // holds. Only text not stored yet is written: the rows may be stale (another window deleted a
    // capability since this one was last active), and the field's text must never land on the
    // capability that moved into its row.
    const QString shown = edtDecisions->plainText();
    if (shown != storedText_)
        commitShownText(capability->Decisions, shown);
}

void TInvAllForm::wmRefresh()
{
    // Rows back to their default height (it follows the font), the title row two lines high.
    // Rows are never fitted, so only a changed height needs every row set again.
    if (const int height = defaultRowHeightFor(grdCap); height != grdCap->defaultRowHeight())
        grdCap->setDefaultRowHeight(height);
    rebuild();
}

void TInvAllForm::rebuild()
{
    rows_ = alliances::buildAllianceRows(data());
    const int count = static_cast<int>(rows_.size());
    grdCap->setEnabled(count > 0);
    edtDecisions->setEnabled(count > 0);
    grdCap->setRowCount(1 + std::max(count, 1));
    const int lineHeight = grdCap->fontMetrics().height();
    grdCap->setGridRowHeight(0, std::max(scaledPixels(this, 32), 2 * lineHeight + 4));
    grdCap->refresh();
    loadDecisions();
}

bool TInvAllForm::paintCell(QPainter& painter, const QRect& cell, int col, int row)
{
    if (row == 0) {
        paintTitle(painter, cell, col);
        return true;
    }
    const QPalette& pal = grdCap->palette();
    const QPalette::ColorGroup group = grdCap->isEnabled() ? QPalette::Active : QPalette::Disabled;
    const bool selected = row == grdCap->currentRow();
    const TCapability* capability = caseForm() ? alliances::rowCapability(data(), rows_, row - 1) : nullptr;
    if (col == alliances::ColName) {
        painter.fillRect(cell, pal.color(group, selected ? QPalette::Highlight : QPalette::Base));
        if (capability) {
            painter.setPen(pal.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
            const QRect box = cell.adjusted(2, 1, -2, -1);
            const QString name = painter.fontMetrics().elidedText(toQt(capability->Name), Qt::ElideRight, box.width());
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
        }
    } else {
        painter.fillRect(cell, pal.color(group, QPalette::Base));
        if (capability) {
            QStyleOptionButton option;
            option.initFrom(grdCap);
            const int w = grdCap->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, grdCap);
            const int h = grdCap->style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, grdCap);
            option.rect = QRect(cell.center().x() - w / 2, cell.center().y() - h / 2, w, h);
            option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
            option.state |= alliances::isChosen(*capability, col) ? QStyle::State_On : QStyle::State_Off;
            grdCap->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, grdCap);
            // The box the space bar ticks.
            if (selected && col == grdCap->currentColumn() && grdCap->hasFocus()) {
                QStyleOptionFocusRect focus;
                focus.initFrom(grdCap);
                focus.rect = option.rect.adjusted(-2, -2, 2, 2);
                grdCap->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, grdCap);
            }
        }
    }
    painter.setPen(pal.color(group, QPalette::Midlight));
    painter.drawLine(cell.bottomLeft(), cell.bottomRight());
    return true;
}

void TInvAllForm::paintTitle(QPainter& painter, const QRect& cell, int col)
{
    const QPalette& pal = grdCap->palette();
    const QPalette::ColorGroup group = grdCap->isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QColor light = pal.color(group, QPalette::Light);
    const QColor dark = pal.color(group, QPalette::Shadow);
    painter.fillRect(cell, pal.color(group, QPalette::Button));
    painter.setPen(light);
    painter.drawLine(cell.topLeft(), cell.topRight());
    painter.setPen(dark);
    painter.drawLine(cell.bottomLeft(), cell.bottomRight());

    // The two groups: a full-height separator before Centr. and Develop, half-height ones between
    // the choices of a group, so the group's caption reads across its three columns.
    const int middle = cell.top() + cell.height() / 2;
    if (col == alliances::ColCentralized || col == alliances::ColDevelop) {
        painter.setPen(dark);
        painter.drawLine(cell.left(), cell.top(), cell.left(), cell.bottom());
        painter.setPen(light);
        painter.drawLine(cell.left() + 1, cell.top(), cell.left() + 1, cell.bottom());
    } else if (col != alliances::ColName) {
        painter.setPen(dark);
        painter.drawLine(cell.left(), middle, cell.left(), cell.bottom());
        painter.setPen(light);
        painter.drawLine(cell.left() + 1, middle, cell.left() + 1, cell.bottom());
    }
    if (col == alliances::ColName || col == alliances::ColSituationSpecific || col == alliances::ColPartner) {
        painter.setPen(dark);
        painter.drawLine(cell.right(), cell.bottom(), cell.right(), cell.top());
    }

    painter.setPen(pal.color(group, QPalette::ButtonText));
    const QStringList lines = grdCap->cellText(col, 0).split(QLatin1Char('\n'));
    const QRect box = cell.adjusted(4, 1, -2, -1);
    const int half = box.height() / 2;
    for (int line = 0; line < lines.size() && line < 2; ++line) {
        const QRect lineBox(box.left(), box.top() + line * half, box.width(), line == 0 ? half : box.height() - half);
        painter.drawText(lineBox, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, lines.at(line));
    }
}

void TInvAllForm::grdCapClick()
{
    loadDecisions();
    grdCap->viewport()->update();
}

void TInvAllForm::loadDecisions()
{
    const int row = grdCap->currentRow();
    const TCapability* capability = caseForm() ? alliances::rowCapability(data(), rows_, row - 1) : nullptr;
    updating_ = true;
    storedText_ = capability ? toQt(capability->Decisions) : QString();
    edtDecisions->setPlainText(storedText_);
    storedText_ = edtDecisions->plainText();
    shownRow_ = row;
    updating_ = false;
}

void TInvAllForm::grdCapMouseDown(int col, int row, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || rows_.empty())
        return;
    if (col >= alliances::ColCentralized && row >= 1)
        setChoice(row, col);
}

void TInvAllForm::grdCapTitleDown(int col, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || rows_.empty() || !caseForm())
        return;
    if (col == alliances::ColName)
        alliances::sortRowsByName(data(), rows_);
    else
        alliances::bringChoiceToTop(data(), rows_, col);
    grdCap->refresh();
    grdCapClick();
}

bool TInvAllForm::grdCapKeyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (!rows_.empty())
        setChoice(grdCap->currentRow(), grdCap->currentColumn());
    return true;
}

void TInvAllForm::setChoice(int row, int col)
{
    if (!canEdit())
        return;
    if (alliances::setChoice(edit(), rows_, row - 1, col))
        grdCap->refreshRows(row, row);
}

void TInvAllForm::edtDecisionsChange()
{
    if (updating_ || !canEdit())
        return;
    const TCapability* capability = alliances::rowCapability(data(), rows_, shownRow_ - 1);
    if (!capability)
        return;
    const QString shown = edtDecisions->plainText();
    if (shownTextDiffers(capability->Decisions, shown))
        alliances::storeDecisions(edit(), rows_, shownRow_ - 1, toModel(shown));
    storedText_ = shown;
}
