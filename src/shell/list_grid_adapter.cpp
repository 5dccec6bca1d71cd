#include "shell/list_grid_adapter.h"

#include "shell/workshop_form.h"
#include "widgets/text_convert.h"
#include "widgets/workshop_grid.h"

ListGridAdapter::ListGridAdapter(TWorkshopForm* form, WorkshopGrid* grid, std::unique_ptr<ListGrid> list,
                                 Hooks hooks)
    : QObject(grid), form_(form), list_(std::move(list)), hooks_(std::move(hooks))
{
    grid->setCellTextFunction([this](int col, int row, CellTextUse) { return cellText(col, row); });
    grid->setCanSelectCellFunction([this](int col, int row) {
        const TCaseData* shown = data();
        return shown && list_->canSelect(*shown, row - 1, col);
    });
    grid->setCommitEditFunction([this](int col, int row, const QString& text) { commit(col, row, text); });
    connect(grid, &WorkshopGrid::titlePressed, this, [this](int col, Qt::MouseButton button) { sort(col, button); });
    connect(grid, &WorkshopGrid::deleteRequested, this, [this](int col, int row) { remove(col, row); });
}

const TCaseData* ListGridAdapter::data() const
{
    return form_->caseForm() ? &form_->data() : nullptr;
}

int ListGridAdapter::rowCount() const
{
    const TCaseData* shown = data();
    return (shown ? list_->count(*shown) : 0) + 2;
}

int ListGridAdapter::entryAt(int row) const
{
    const TCaseData* shown = data();
    return shown && row >= 1 && row <= list_->count(*shown) ? row - 1 : -1;
}

QString ListGridAdapter::cellText(int col, int row) const
{
    const TCaseData* shown = data();
    if (!shown)
        return {};
    if (row == 0)
        return translated(core_text::kGridTitles, list_->titleMessage(*shown, col));
    return toQt(list_->text(*shown, row - 1, col));
}

void ListGridAdapter::commit(int col, int row, const QString& text)
{
    if (!form_->canEdit())
        return;
    const CellCommit result = list_->commit(form_->edit(), row - 1, col, toModel(text));
    if (hooks_.committed)
        hooks_.committed(result, col, row);
}

void ListGridAdapter::sort(int col, Qt::MouseButton button)
{
    if (!form_->canEdit() || (hooks_.beforeSort && !hooks_.beforeSort(col, button)))
        return;
    if (list_->sort(form_->edit(), col) && hooks_.sorted)
        hooks_.sorted(col);
}

void ListGridAdapter::remove(int col, int row)
{
    if (!form_->canEdit() || entryAt(row) < 0)
        return;
    if (hooks_.beforeDelete)
        hooks_.beforeDelete();
    if (list_->remove(form_->edit(), form_->questions(), row - 1, col) && hooks_.deleted)
        hooks_.deleted();
}
