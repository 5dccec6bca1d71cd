#pragma once

// Shows a list grid of the model (model/list_grid.h) in a workshop grid: row 0 is the title row,
// rows 1..n show the entries at positions 0..n-1 and row n + 1 is the new entry's row. Typed text,
// title presses and Alt+Delete reach the list's operations under the window's edit rule (nothing
// while the updating switch is on); what the window does afterwards it says in its hooks.
//
// The adapter is a child of the grid and goes with it.

#include <QObject>

#include <functional>
#include <memory>

#include "model/list_grid.h"

class TWorkshopForm;
class WorkshopGrid;

class ListGridAdapter : public QObject {
public:
    struct Hooks {
        // After every commit, whatever it did.
        std::function<void(CellCommit result, int col, int row)> committed;
        // A title press about to sort: false leaves the list as it is.
        std::function<bool(int col, Qt::MouseButton button)> beforeSort;
        std::function<void(int col)> sorted;
        // Alt+Delete on an entry's row, before the question.
        std::function<void()> beforeDelete;
        std::function<void()> deleted;
    };

    // Gives the grid its cell texts, the cells that may become current, the commit of typed text,
    // the sort on a title press and the delete on Alt+Delete.
    ListGridAdapter(TWorkshopForm* form, WorkshopGrid* grid, std::unique_ptr<ListGrid> list, Hooks hooks);

    const ListGrid& list() const { return *list_; }
    // The title row, then the entries, then the new entry's row.
    int rowCount() const;
    // The position of the entry a row shows, or -1 (title row, new entry's row, beyond).
    int entryAt(int row) const;
    // The text a cell shows; titles are translated.
    QString cellText(int col, int row) const;
    // Typed text for a cell, as the grid's commit hands it over.
    void commit(int col, int row, const QString& text);

private:
    const TCaseData* data() const;
    void sort(int col, Qt::MouseButton button);
    void remove(int col, int row);

    TWorkshopForm* form_;
    std::unique_ptr<ListGrid> list_;
    Hooks hooks_;
};
