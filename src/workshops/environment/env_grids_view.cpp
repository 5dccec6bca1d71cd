// The grids of the environment window's data page: four impact grids and the risk grid with its
// risk-type box.

#include "workshops/environment/env_form.h"

#include "model/case_data.h"
#include "shell/help_window.h"
#include "shell/list_grid_adapter.h"
#include "widgets/advanced_grid.h"
#include "widgets/edit_state.h"
#include "widgets/layout_scale.h"
#include "widgets/text_convert.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <cmath>

using namespace environment;

namespace {

constexpr ImpactKind kImpactKinds[] = {ImpactKind::Strengths, ImpactKind::Weaknesses, ImpactKind::Opportunities,
                                       ImpactKind::Threats};

const QString kScoreMask = QStringLiteral("99;0; ");

// A financial impact as the grid shows it: whole, with the locale's thousands separators.
QString shownAmount(double value)
{
    return std::isfinite(value) ? QLocale().toString(value, 'f', 0) : QString();
}

} // namespace

WorkshopGrid* TEnvForm::impactGrid(ImpactKind kind) const
{
    switch (kind) {
    case ImpactKind::Strengths: return grdStrengths;
    case ImpactKind::Weaknesses: return grdWeaknesses;
    case ImpactKind::Opportunities: return grdOpportunities;
    case ImpactKind::Threats: break;
    }
    return grdThreats;
}

QWidget* TEnvForm::buildImpactSheet()
{
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("Impact"));
    grdStrengths = new WorkshopGrid(sheet);
    grdOpportunities = new WorkshopGrid(sheet);
    grdWeaknesses = new WorkshopGrid(sheet);
    grdThreats = new WorkshopGrid(sheet);
    grdStrengths->setObjectName(QStringLiteral("grdStrengths"));
    grdOpportunities->setObjectName(QStringLiteral("grdOpportunities"));
    grdWeaknesses->setObjectName(QStringLiteral("grdWeaknesses"));
    grdThreats->setObjectName(QStringLiteral("grdThreats"));
    setUpImpactGrid(grdStrengths, ImpactKind::Strengths, 218);
    setUpImpactGrid(grdOpportunities, ImpactKind::Opportunities, 218);
    setUpImpactGrid(grdWeaknesses, ImpactKind::Weaknesses, 220);
    setUpImpactGrid(grdThreats, ImpactKind::Threats, 220);

    auto* layout = new QGridLayout(sheet);
    layout->setContentsMargins(scaledPixels(sheet, 4), scaledPixels(sheet, 4), scaledPixels(sheet, 4),
                               scaledPixels(sheet, 4));
    layout->addWidget(grdStrengths, 0, 0);
    layout->addWidget(grdWeaknesses, 0, 1);
    layout->addWidget(grdOpportunities, 1, 0);
    layout->addWidget(grdThreats, 1, 1);
    return sheet;
}

void TEnvForm::setUpImpactGrid(WorkshopGrid* grid, ImpactKind kind, int nameWidth)
{
    grid->setColumnWidths({scaledPixels(grid, nameWidth), scaledPixels(grid, 33)});
    grid->setDefaultRowHeight(16);
    grid->setRowCount(2);
    grid->setMinimumSize(scaledSize(grid, 277, 73));
    grid->setAccessibleName(QString::fromLatin1(impactHeading(kind)));
    help::setHelpContext(grid, 51025);
    grid->setEditMaskFunction([](int col, int) { return col == 1 ? kScoreMask : QString(); });
    ListGridAdapter::Hooks hooks;
    hooks.committed = [this, grid, kind](CellCommit result, int, int row) {
        if (result == CellCommit::Added)
            grid->setRowCount(impacts_[static_cast<int>(kind)]->rowCount());
        grid->refreshRows(row, row + 1);
        grid->fitRowHeights();
    };
    hooks.sorted = [grid](int) {
        grid->refresh();
        grid->fitRowHeights();
    };
    hooks.deleted = [this, grid, kind] {
        grid->setRowCount(impacts_[static_cast<int>(kind)]->rowCount());
        grid->refresh();
        grid->fitRowHeights();
    };
    impacts_[static_cast<int>(kind)] = new ListGridAdapter(this, grid, environment::impactGrid(selection_, kind), std::move(hooks));
}

QWidget* TEnvForm::buildRiskSheet()
{
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("Risk"));
    grdRisk = new TAdvancedGrid(sheet);
    grdRisk->setObjectName(QStringLiteral("grdRisk"));
    std::vector<int> widths;
    for (int width : {181, 52, 51, 46, 58, 148})
        widths.push_back(scaledPixels(grdRisk, width));
    grdRisk->setColumnWidths(widths);
    grdRisk->setDefaultRowHeight(21);
    grdRisk->setRowCount(2);
    grdRisk->setMinimumSize(scaledSize(grdRisk, 561, 117));
    grdRisk->setAccessibleName(tr("Risk Analysis"));
    help::setHelpContext(grdRisk, 51030);
    grdRisk->setEditMaskFunction([](int col, int) {
        if (col == kRiskFinImpact)
            return QStringLiteral("9999999999;0; ");
        return col == kRiskImpact || col == kRiskLikelihood ? kScoreMask : QString();
    });
    ListGridAdapter::Hooks hooks;
    hooks.committed = [this](CellCommit result, int col, int row) { riskCommitted(result, col, row); };
    hooks.sorted = [this](int) {
        grdRisk->refresh();
        grdRisk->fitRowHeights();
        SyncRiskTypeBox();
    };
    // The change shown stays; its grid loses the row.
    hooks.deleted = [this] { Reload(); };
    risks_ = new ListGridAdapter(this, grdRisk, environment::riskGrid(selection_), std::move(hooks));
    grdRisk->setCellTextFunction(
        [this](int col, int row, CellTextUse use) { return riskCellText(col, row, static_cast<int>(use)); });
    grdRisk->setCommitEditFunction([this](int col, int row, const QString& text) { commitRiskCell(col, row, text); });
    grdRisk->setOnGetCellValues([this](int col, int) -> QVariant {
        if (col != kRiskType || !caseForm())
            return {};
        QStringList types;
        for (const std::string& type : data().RiskTypes)
            types.append(toQt(type));
        return types;
    });
    grdRisk->setOnInitControl([this](int col, int row, QWidget* control, TControlHandlers& handlers) {
        return initRiskTypeControl(col, row, control, handlers);
    });
    connect(grdRisk, &WorkshopGrid::cellPressed, this, [this] { SyncRiskTypeBox(); });

    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(scaledPixels(sheet, 4), scaledPixels(sheet, 4), scaledPixels(sheet, 4),
                               scaledPixels(sheet, 4));
    layout->addWidget(grdRisk);
    return sheet;
}

void TEnvForm::reloadGrids(bool enabled)
{
    for (ImpactKind kind : kImpactKinds) {
        WorkshopGrid* grid = impactGrid(kind);
        grid->setRowCount(impacts_[static_cast<int>(kind)]->rowCount());
        grid->refresh();
        grid->fitRowHeights();
        grid->setEnabled(enabled);
    }
    grdRisk->setRowCount(risks_->rowCount());
    widenRiskColumns();
    grdRisk->setGridRowHeight(0, scaledPixels(grdRisk, 32));
    grdRisk->refresh();
    grdRisk->fitRowHeights();
    grdRisk->setEnabled(enabled);
    MarkTypeColumn();
    SyncRiskTypeBox();
}

void TEnvForm::widenRiskColumns(const TRisk* changed)
{
    const QFontMetrics metrics(grdRisk->font());
    // The cell insets, two pixels either side, and a little air.
    const int padding = 6;
    const auto widen = [&](int col, int width) {
        if (width > grdRisk->gridColumnWidth(col))
            grdRisk->setGridColumnWidth(col, width);
    };
    const auto amountWidth = [&](const TRisk& risk) {
        return metrics.horizontalAdvance(shownAmount(risk.FinImpact)) + padding;
    };
    if (changed) {
        widen(kRiskFinImpact, amountWidth(*changed));
        return;
    }
    int types = 0;
    if (caseForm())
        for (const std::string& type : data().RiskTypes)
            types = std::max(types, metrics.horizontalAdvance(toQt(type)) + padding);
    widen(kRiskType, types);
    int amounts = 0;
    if (const TChange* change = shownChange())
        for (const TRisk& risk : change->Risks)
            amounts = std::max(amounts, amountWidth(risk));
    widen(kRiskFinImpact, amounts);
}

void TEnvForm::MarkTypeColumn()
{
    // The empty last row is refused by the grid, so its type cell never gets the box.
    for (int row = 1; row < grdRisk->rowCount(); ++row)
        grdRisk->SetCellControl(kRiskType, row, cckComboBox);
}

// ---- Risks -----------------------------------------------------------------------------------

QString TEnvForm::riskCellText(int col, int row, int use) const
{
    if (col == kRiskFinImpact && static_cast<CellTextUse>(use) != CellTextUse::Edit) {
        // Shown with the locale's thousands separators, edited in plain digits.
        if (const TRisk* risk = riskAt(shownChange(), row))
            return shownAmount(risk->FinImpact);
    }
    return risks_->cellText(col, row);
}

void TEnvForm::commitRiskCell(int col, int row, const QString& text)
{
    if (col == kRiskType) {
        if (canEdit())
            commitRiskType(row, text);
        return;
    }
    risks_->commit(col, row, text);
}

void TEnvForm::riskCommitted(CellCommit result, int col, int row)
{
    if (result == CellCommit::Added) {
        grdRisk->setRowCount(risks_->rowCount());
        grdRisk->SetCellControl(kRiskType, row, cckComboBox);
    }
    if (const TRisk* risk = riskAt(shownChange(), row); risk && col == kRiskFinImpact)
        widenRiskColumns(risk);
    grdRisk->refreshRows(row, row + 1);
    grdRisk->fitRowHeights();
}

int TEnvForm::currentRiskTypeOfRow(int row) const
{
    // The type box follows the type of the risk in its row; a type the list does not hold counts
    // as none, as the box cannot show it.
    const auto type = caseForm() ? riskTypeOfRow(data(), selection_, row) : std::nullopt;
    if (!type || *type < 0 || static_cast<std::size_t>(*type) >= data().RiskTypes.size())
        return -1;
    return *type;
}

void TEnvForm::commitRiskType(int row, const QString& text)
{
    // The type box's text, written back when the user picked from its list or left it. Enter
    // in the box commits by itself (riskTypeKeyDown).
    if (committingTyped_)
        return;
    // A window that is going away asks nothing; a type it can choose without asking it still takes.
    const std::string typed = toModel(text);
    if (closing_ && !typed.empty() && findNameIgnoringCase(data().RiskTypes, typed) < 0)
        return;
    QScopedValueRollback busy(committingTyped_, true);
    const RiskTypeCommit result =
        commitRiskTypeText(edit(), questions(), selection_, row, currentRiskTypeOfRow(row), typed);
    if (result.outcome == TypedNameResult::Outcome::Added || result.outcome == TypedNameResult::Outcome::Renamed) {
        // Every row may show the renamed type, and the box must list the new one.
        widenRiskColumns();
        grdRisk->refresh();
        grdRisk->ShowControl(grdRisk->currentColumn(), grdRisk->currentRow());
    }
    grdRisk->refreshRows(row, row);
}

// ---- The risk-type box -----------------------------------------------------------------------

QComboBox* TEnvForm::riskTypeBox() const
{
    return grdRisk ? qobject_cast<QComboBox*>(grdRisk->control()) : nullptr;
}

QWidget* TEnvForm::initRiskTypeControl(int col, int, QWidget* control, TControlHandlers& handlers)
{
    auto* box = qobject_cast<QComboBox*>(control);
    if (col != kRiskType || !box)
        return control;
    help::setHelpContext(box, 51030);
    box->setAccessibleName(QString::fromLatin1(kRiskHeadings[kRiskType]));
    // A typed name is looked up by the add-or-rename protocol, not completed into another.
    box->setCompleter(nullptr);
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
    handlers.keyDown = [this](QKeyEvent* event) { return riskTypeKeyDown(event); };
    handlers.exit = [this] { SyncRiskTypeBox(); };
    return control;
}

bool TEnvForm::riskTypeKeyDown(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
    const bool remove = event->key() == Qt::Key_Delete && modifiers == Qt::AltModifier;
    if (!enter && !remove)
        return false;
    QComboBox* box = riskTypeBox();
    if (!box || committingTyped_ || !canEdit())
        return true;
    QScopedValueRollback busy(committingTyped_, true);
    const int col = grdRisk->currentColumn();
    const int row = grdRisk->currentRow();

    if (enter) {
        const RiskTypeCommit result = commitRiskTypeText(edit(), questions(), selection_, row,
                                                         currentRiskTypeOfRow(row), toModel(box->currentText()));
        // Showing the control again makes a new box with the list as it is now; this one is
        // deleted once its key event is over, and must not be touched after this line.
        box = nullptr;
        widenRiskColumns();
        grdRisk->refresh();
        grdRisk->ShowControl(col, row);
        if (QComboBox* rebuilt = riskTypeBox()) {
            const QSignalBlocker quiet(rebuilt);
            rebuilt->setCurrentIndex(result.type);
        }
        grdRisk->setFocus(Qt::OtherFocusReason);
        grdRisk->fitRowHeights();
        return true;
    }

    const int type = box->currentIndex();
    if (type < 0 || !deleteRiskType(edit(), questions(), type))
        return true;
    box = nullptr;
    // The reload rebuilds the grid and with it the box; the new one keeps the focus.
    Reload();
    if (QComboBox* rebuilt = riskTypeBox(); rebuilt && rebuilt->isVisible()) {
        rebuilt->hidePopup();
        rebuilt->setFocus(Qt::OtherFocusReason);
    } else {
        grdRisk->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

void TEnvForm::riskTypeFocusEntered()
{
    // The box lists the types; it selects the one the cell names (exactly as written), so that
    // Alt+Delete knows which type is meant.
    QComboBox* box = riskTypeBox();
    if (!box)
        return;
    const QString text = riskCellText(kRiskType, grdRisk->currentRow(), static_cast<int>(CellTextUse::Edit));
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(text.isEmpty() ? -1 : box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    box->setEditText(text);
}

void TEnvForm::SyncRiskTypeBox()
{
    QComboBox* box = riskTypeBox();
    if (!box || !shownChange() || !riskAt(shownChange(), grdRisk->currentRow()))
        return;
    const int type = currentRiskTypeOfRow(grdRisk->currentRow());
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(type);
    if (type < 0)
        box->setEditText(riskCellText(kRiskType, grdRisk->currentRow(), static_cast<int>(CellTextUse::Edit)));
}
