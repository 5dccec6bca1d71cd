#pragma once

// The Business Plan workshop: one customer's three-year plan in an editable grid, beside it the
// totals of every row over all customers. Amounts are drawn with the locale's thousands separators
// and edited without them; the operations live in business_plan_ops.h.

#include "shell/workshop_form.h"
#include "workshops/capabilities/business_plan_ops.h"

#include <QLocale>

#include <array>
#include <vector>

class QComboBox;
class QKeyEvent;
class WorkshopGrid;
enum class CellTextUse;
struct CellStyle;

class TBizPlanForm : public TWorkshopForm {
    Q_OBJECT
public:
    explicit TBizPlanForm(QWidget* parent = nullptr);

    // Commits a cell still being typed, so saving right after typing keeps it.
    void wmCommit() override;
    void wmRefresh() override;

    // The customer whose plan the grid shows; -1 for none.
    int selectedCustomer() const;

private:
    void buildLayout();

    QString custCellText(int col, int row, CellTextUse use) const;
    QString totalCellText(int col, int row, CellTextUse use) const;
    QString amountText(double value, CellTextUse use) const;
    CellStyle custCellStyle(int col, int row) const;
    QString custEditMask(int col, int row) const;
    // Row `row` of the grid in the selected customer's plan; null for the title row and rows the
    // plan does not have.
    const TCapability* shownRow(int row) const;

    void ComboCustChange();
    void GridCustCommit(int col, int row, const QString& text);
    bool GridCustKeyDown(QKeyEvent* event);
    void GridCustDelete(int row);

    // Both grids get `rows` rows (title row included), row heights fitted.
    void setRowCounts(int rows);
    // Subtotals into the model, totals recomputed, both grids repainted and fitted.
    void recalculateAndRepaint();
    // Totals recomputed, both grids repainted and fitted (the subtotals are current).
    void repaintWithTotals();
    // This window's fitting: the plan grid's rows are fitted and the totals grid follows them, so
    // each total stays beside its row.
    void fitRowHeights();
    // The first time a plan is shown, the window grows (within limits) to show all of its rows.
    void fitToContent();

    QComboBox* ComboCust = nullptr;
    WorkshopGrid* GridCust = nullptr;
    WorkshopGrid* GridTotal = nullptr;
    business_plan::Totals totals_;
    QLocale locale_;
    bool fittedToContent_ = false;
};
