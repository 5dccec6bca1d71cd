#pragma once

// The one kit behind every grid of named entries. A list's table says, column by column, what the
// grid shows, how typed text is stored and how a title press sorts; the kit does the rest alike for
// every list: storing typed text as one undo step only when it changes a field, making a new entry
// from a typed name, sorting through the program's one quicksort and deleting after the list's
// question, with the references into the list kept on the entries they name.
//
// The kit speaks of positions only: 0..count-1 are the entries and `count` is the new entry, the
// one a name typed into the grid's last row makes. Which grid row shows which position, and the
// title row, are the view's business (shell/list_grid_adapter.h).

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/case_edit.h"
#include "model/case_references.h"
#include "model/core_text.h"
#include "model/del_list.h"
#include "model/questions.h"
#include "model/quick_sort.h"

struct TCaseData;

// What a commit of typed text did.
enum class CellCommit {
    Unchanged, // nothing stored: the text changes nothing, the position names nothing, or the
               // column takes no text there
    Changed,   // an entry's field changed
    Added,     // a new entry was made from the typed name; the list grew by one
};

// A list grid as the view sees it, whatever its entries are.
class ListGrid {
public:
    virtual ~ListGrid() = default;

    virtual int columnCount() const = 0;
    // A column's title: a key of the context "Grid titles" and the value it quotes, if any.
    virtual CoreMessage titleMessage(const TCaseData& data, int col) const = 0;
    // The title in the program's own words (model text).
    std::string title(const TCaseData& data, int col) const { return titleMessage(data, col).text(); }
    // How many entries the grid shows; 0 when it shows no list (nothing selected to hold one).
    virtual int count(const TCaseData& data) const = 0;
    // The text of an entry's cell; empty for the new entry and for positions naming nothing.
    virtual std::string text(const TCaseData& data, int position, int col) const = 0;
    // Whether a cell may become the current cell: every cell of an entry, and those of the new
    // entry whose column takes text there.
    virtual bool canSelect(const TCaseData& data, int position, int col) const = 0;
    // Stores text typed into a cell. At the new entry's position only the name column takes text:
    // it makes an entry with that name and the defaults.
    virtual CellCommit commit(CaseEdit& edit, int position, int col, std::string_view text) const = 0;
    // A title press: sorts by the column's key as one undo step, when the list is long enough.
    virtual bool sort(CaseEdit& edit, int col) const = 0;
    // Alt+Delete: asks the list's question about the entry and deletes it on Yes.
    virtual bool remove(CaseEdit& edit, Questions& ask, int position, int col) const = 0;
};

// Exchanges two positions of the list being sorted, with whatever must move along with them.
using ListSwap = std::function<void(int, int)>;

template <class Item>
struct ListColumn {
    const char* title = ""; // a key of the context "Grid titles"
    // The text of an entry's cell.
    std::string (*text)(const TCaseData& data, const Item& item) = nullptr;
    // Stores typed text; true when the field changed (one undo step). Null: the column's value is
    // chosen some other way, typed text is dropped.
    bool (*store)(CaseEdit& edit, Item& item, std::string_view text) = nullptr;
    // Sorts `keys` (the list, or a list whose order the list follows) by the column; null: a title
    // press on the column does nothing.
    void (*sort)(const TDelList<Item>& keys, const ListSwap& swap) = nullptr;
    // Whether the new entry's cell in this column may become current.
    bool onNewRow = true;
};

// A list's own rules. Tables set the rules after the question by name ({.emptyNameAdds = false}):
// by position, one flag is easily taken for another.
template <class Item>
struct ListTable {
    std::span<const ListColumn<Item>> columns; // column 0 shows the name
    // The field a typed name goes to and the delete question quotes.
    std::string Item::*name = nullptr;
    // The delete question, a key of the context "Questions" with one "%s" for the name.
    const char* deleteQuestion = "";
    // Whether an empty name typed into the new entry's row still makes an entry.
    bool emptyNameAdds = true;
    // Entries a sort needs. With 0 a title press is always an undo step, even with no list shown.
    int sortFrom = 2;
    // Whether a sort is an undo step; otherwise it only marks the case modified.
    bool sortIsStep = true;
    // Whether Alt+Delete deletes only from the name column.
    bool deleteFromName = false;
};

// Column building blocks: text columns sort ascending ignoring letter case, numbers descending.
namespace list_columns {

template <class Item, class T>
Item& itemOf(T Item::*);
template <auto Field>
using ItemOf = std::remove_reference_t<decltype(itemOf(Field))>;

template <auto Field>
std::string text(const TCaseData&, const ItemOf<Field>& item)
{
    return item.*Field;
}

template <auto Field>
std::string number(const TCaseData&, const ItemOf<Field>& item)
{
    return std::to_string(item.*Field);
}

template <auto Field>
bool storeText(CaseEdit& edit, ItemOf<Field>& item, std::string_view typed)
{
    return edit.set(item.*Field, typed);
}

// Stores the number `read` makes of the typed text (its rules of clamping and of unreadable text).
template <auto Field, auto read>
bool storeRead(CaseEdit& edit, ItemOf<Field>& item, std::string_view typed)
{
    return edit.set(item.*Field, read(typed));
}

// Sorts by key(item): a field, or any function of the item.
template <class Item, auto key, SortOrder order>
void sortBy(const TDelList<Item>& keys, const ListSwap& swap)
{
    quickSort(keys.Count(), [&keys](int i) { return std::invoke(key, keys[i]); }, swap, order);
}

template <auto Field>
constexpr ListColumn<ItemOf<Field>> textColumn(const char* title)
{
    return {title, text<Field>, storeText<Field>, sortBy<ItemOf<Field>, Field, SortOrder::Ascending>};
}

template <auto Field, auto read>
constexpr ListColumn<ItemOf<Field>> numberColumn(const char* title)
{
    return {title, number<Field>, storeRead<Field, read>, sortBy<ItemOf<Field>, Field, SortOrder::Descending>};
}

// A column whose cell in the new entry's row may not become current.
template <class Item>
constexpr ListColumn<Item> notOnNewRow(ListColumn<Item> column)
{
    column.onNewRow = false;
    return column;
}

} // namespace list_columns

// The kit for one list: the table's rules applied to the list `locate` finds in the case (null
// when the grid shows none). A list with rules beyond the table's overrides the protected steps.
template <class Item>
class ItemListGrid : public ListGrid {
public:
    using Locate = std::function<TDelList<Item>*(TCaseData& data)>;

    ItemListGrid(const ListTable<Item>& table, Locate locate)
        : table_(table), locate_(std::move(locate))
    {
    }

    int columnCount() const override { return static_cast<int>(table_.columns.size()); }

    CoreMessage titleMessage(const TCaseData&, int col) const override
    {
        const ListColumn<Item>* column = columnAt(col);
        return {column ? column->title : ""};
    }

    int count(const TCaseData& data) const override
    {
        const TDelList<Item>* list = listIn(data);
        return list ? list->Count() : 0;
    }

    std::string text(const TCaseData& data, int position, int col) const override
    {
        const TDelList<Item>* list = listIn(data);
        const ListColumn<Item>* column = columnAt(col);
        if (!list || !column || !list->InRange(position))
            return {};
        return column->text(data, (*list)[position]);
    }

    bool canSelect(const TCaseData& data, int position, int col) const override
    {
        const ListColumn<Item>* column = columnAt(col);
        return column && (position != count(data) || column->onNewRow);
    }

    CellCommit commit(CaseEdit& edit, int position, int col, std::string_view typed) const override
    {
        TDelList<Item>* list = locate_(edit.data());
        if (!list || !columnAt(col))
            return CellCommit::Unchanged;
        if (list->InRange(position))
            return store(edit, *list, position, col, typed) ? CellCommit::Changed : CellCommit::Unchanged;
        // An editor opened on the new entry's row and left empty makes no nameless entry where the
        // list says so.
        if (position != list->Count() || col != 0 || (typed.empty() && !table_.emptyNameAdds))
            return CellCommit::Unchanged;
        add(edit, *list, typed);
        return CellCommit::Added;
    }

    bool sort(CaseEdit& edit, int col) const override
    {
        TDelList<Item>* list = locate_(edit.data());
        const ListColumn<Item>* column = columnAt(col);
        if (!column || !column->sort || (list ? list->Count() : 0) < table_.sortFrom)
            return false;
        if (table_.sortIsStep)
            edit.begin();
        else
            edit.changeWithoutStep();
        if (list)
            sortList(edit.data(), *list, col);
        return true;
    }

    bool remove(CaseEdit& edit, Questions& ask, int position, int col) const override
    {
        TDelList<Item>* list = locate_(edit.data());
        if (!list || !list->InRange(position) || (table_.deleteFromName && col != 0))
            return false;
        if (!confirmDelete(ask, question(), (*list)[position].*table_.name))
            return false;
        edit.begin();
        removeAt(edit.data(), *list, position);
        return true;
    }

protected:
    const ListColumn<Item>* columnAt(int col) const
    {
        return col >= 0 && col < columnCount() ? &table_.columns[static_cast<std::size_t>(col)] : nullptr;
    }

    const TDelList<Item>* listIn(const TCaseData& data) const { return locate_(const_cast<TCaseData&>(data)); }

    virtual const char* question() const { return table_.deleteQuestion; }

    // The list whose positions the market groups or group members refer to, if any.
    virtual std::optional<RefTarget> references() const { return std::nullopt; }

    virtual bool store(CaseEdit& edit, TDelList<Item>& list, int position, int col, std::string_view typed) const
    {
        const ListColumn<Item>& column = *columnAt(col);
        return column.store && column.store(edit, list[position], typed);
    }

    virtual void add(CaseEdit& edit, TDelList<Item>& list, std::string_view name) const
    {
        edit.begin();
        (list.Add().*table_.name).assign(name);
    }

    virtual void removeAt(TCaseData& data, TDelList<Item>& list, int position) const
    {
        list.Delete(position);
        if (const auto target = references())
            removeReferencedItem(data, *target, position);
    }

    virtual void sortList(TCaseData& data, TDelList<Item>& list, int col) const
    {
        const auto sortBy = columnAt(col)->sort;
        const auto target = references();
        if (!target) {
            sortBy(list, [&list](int i, int j) { list.Exchange(i, j); });
            return;
        }
        PermutationRecorder moves(list.Count());
        sortBy(list, [&](int i, int j) {
            list.Exchange(i, j);
            moves.swap(i, j);
        });
        applyPermutation(data, *target, moves.newPositions());
    }

private:
    ListTable<Item> table_;
    Locate locate_;
};
