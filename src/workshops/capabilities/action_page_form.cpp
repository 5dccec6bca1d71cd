#include "workshops/capabilities/action_page_form.h"

#include <QComboBox>
#include <QDateEdit>
#include <QVBoxLayout>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "shell/help_window.h"
#include "shell/list_grid_adapter.h"
#include "shell/workshop_catalog.h"
#include "widgets/date_format.h"
#include "widgets/layout_scale.h"
#include "widgets/text_convert.h"
#include "workshops/capabilities/action_page_ops.h"

using namespace actions;

namespace {

constexpr int kGridHelp = 57000;

} // namespace

TActionPageForm::TActionPageForm(QWidget* parent) : TWorkshopForm(workshop_id::ActionPage, parent)
{
    setObjectName(QStringLiteral("TActionPageForm"));
    help::registerTopic(kGridHelp, QStringLiteral("actionpage.html#grid"));

    GridAction = new TAdvancedGrid(this);
    GridAction->setObjectName(QStringLiteral("GridAction"));
    GridAction->setAccessibleName(captionWord());
    help::setHelpContext(GridAction, kGridHelp);
    GridAction->setColumnWidths({scaledPixels(this, 185), scaledPixels(this, 115), scaledPixels(this, 82),
                                 scaledPixels(this, 89), scaledPixels(this, 84)});
    GridAction->setDefaultRowHeight(scaledPixels(this, 21));
    GridAction->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridAction->setColumnSizing(true);
    GridAction->setEditingEnabled(true);
    GridAction->setRowCount(2);
    // Due dates are picked and typed day first, without leading zeros, and always with the
    // century: a two-digit year is one step from a date a hundred years off. The format is
    // this grid's own; no other window's dates change with it.
    GridAction->setDateFormat(ShortDateFormat{false, false, true, '/'});

    GridAction->setEditMaskFunction([](int col, int) {
        if (col == ColImportance)
            return QStringLiteral("90;0; ");
        if (col == ColDue)
            return QStringLiteral("!99\\/99\\/9999;1;_");
        return QString();
    });
    ListGridAdapter::Hooks hooks;
    hooks.committed = [this](CellCommit result, int, int) {
        if (result == CellCommit::Added) {
            GridAction->setRowCount(actions_->rowCount());
            SetCellControl(GridAction->rowCount() - 2); // the new action's row
        }
        GridAction->fitRowHeights();
    };
    hooks.sorted = [this](int) { sendRefresh(); };
    hooks.deleted = [this] { sendRefresh(); };
    actions_ = new ListGridAdapter(this, GridAction, actionGrid(), std::move(hooks));
    GridAction->setOnGetCellValues([this](int col, int row) { return GridActionGetCellValues(col, row); });
    GridAction->setOnInitControl([this](int col, int row, QWidget* control, TControlHandlers& handlers) {
        return GridActionInitControl(col, row, control, handlers);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(GridAction);
    resize(scaledSize(this, 602, 331));
}

void TActionPageForm::SetCellControl(int row)
{
    GridAction->SetCellControl(ColDone, row, cckComboBox);
    GridAction->SetCellControl(ColDue, row, cckDatePicker);
}

QVariant TActionPageForm::GridActionGetCellValues(int col, int) const
{
    if (col != ColDone)
        return {};
    return QStringList{QLatin1String(kDoneItems[0]), QLatin1String(kDoneItems[1])};
}

QWidget* TActionPageForm::GridActionInitControl(int col, int, QWidget* control, TControlHandlers&)
{
    if (auto* list = qobject_cast<QComboBox*>(control); list && col == ColDone) {
        // Pick only: the grid commits the picked "Yes" or "No" to the cell.
        list->setEditable(false);
        list->setObjectName(QStringLiteral("doneList"));
        list->setAccessibleName(tr("Done"));
    } else if (auto* picker = qobject_cast<QDateEdit*>(control); picker && col == ColDue) {
        picker->setObjectName(QStringLiteral("duePicker"));
        picker->setAccessibleName(tr("Due"));
        // The grid commits the date once: picked in the calendar at once, typed or stepped when
        // Enter is pressed or the picker is left.
        picker->setMinimumDate(QDate(100, 1, 1));
    }
    return control;
}

void TActionPageForm::wmCommit()
{
    // Saving or closing right after typing into a cell keeps what was typed.
    if (caseForm())
        GridAction->commitPendingEdit();
}

void TActionPageForm::wmRefresh()
{
    if (!caseForm())
        return;
    const int actions = data().Actions.Count();
    GridAction->setRowCount(actions + 2);
    for (int row = 1; row <= actions; ++row)
        SetCellControl(row);
    GridAction->refresh();
    GridAction->fitRowHeights();
}
