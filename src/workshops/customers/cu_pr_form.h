#pragma once

// The window of two workshops: Envision Your Customers and Design Your Services/Products. Both
// edit a list of the case (customers or products) the same way; the mode, fixed by the workshop
// identifier the window is opened with, picks the list, a few texts and the help topics.
//
// The "Data" page edits the items, their texts, key characteristics and market potential and
// holds the filter; the "Graph" page lists and plots the key characteristics that pass a filter
// of its own. The implementation is split by page: cu_pr_form.cpp (window, item list, texts),
// cu_pr_grids_form.cpp (key characteristics, market potential, filter box) and
// cu_pr_graph_form.cpp (graph page and grouping).

#include <QString>


#include "shell/workshop_form.h"
#include "widgets/workshop_grid.h"
#include "workshops/customers/grouping_ops.h"
#include "workshops/customers/key_char_ops.h"

class BulletTextEdit;
class ListGridAdapter;
class Cp1252PlainTextEdit;
class MaskedLineEdit;
class PortfolioPage;
class QGroupBox;
class QPushButton;
class QStackedWidget;

class TCuPrForm : public TWorkshopForm {
    Q_OBJECT
public:
    // `identifier` is workshop_id::Customers or workshop_id::Products.
    explicit TCuPrForm(int identifier, QWidget* parent = nullptr);

    cust_prod::Mode mode() const { return mode_; }
    int helpContext() const override;

    void wmCommit() override;
    void wmRefresh() override;

    // The item the data page shows: the entry of grdCust's current row, or -1.
    int selectedItem() const;
    bool graphShown() const;
    // The filter the grouping dialog judges items by: the graph page's while that page shows,
    // the data page's bounds otherwise. Asked at each judgement, as the page may change.
    bool satisfiesGroupingFilter(const TCustProd& item) const;
    // The graph page's four fields as a filter.
    portfolio::PlotFilter graphFilter() const;

    // How grdCust draws row `row`: red for an item that fails the filter.
    CellStyle itemCellStyle(int row) const;
    // How grdKeyChar draws row `row`: red for a key characteristic that does not apply.
    CellStyle keyCharCellStyle(int row) const;

    // Opens the grouping dialog: to change `item` when it is a group, else to build a new group.
    void openGrouping(int item);
    // The item owning the selected row of the graph page's list, or -1.
    int graphSelectionOwner() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // cu_pr_form.cpp
    QWidget* buildDataPage();
    void setUpItemGrid();
    // The data page's controls for the selected item, as a click on the item list loads them.
    void loadSelectedItem();
    void updateEnabledStates();
    void textsEdited();

    // cu_pr_grids_form.cpp
    QGroupBox* buildFilterBox();
    void setUpKeyCharGrid();
    void setUpMarketPotentialGrid();
    bool keyCharKeyDown(QKeyEvent* event);
    void keyCharPressed(int col, int row, Qt::MouseButton button);
    void toggleKeyChar(int row);
    // Caption, enabled state and fields of the filter box for the current key-characteristic row.
    void loadFilterBox();
    void commitBoundField(MaskedLineEdit* field);
    // After a change of ratings: the item colours may change.
    void repaintItems();

    // cu_pr_graph_form.cpp
    QWidget* buildGraphPage();
    void setGraphPageHelp(QPushButton* grouping);
    void showGraphPage();
    void showDataPage();
    void buildGraphList();

    cust_prod::Mode mode_;
    QStackedWidget* Notebook1 = nullptr;
    WorkshopGrid* grdCust = nullptr;
    Cp1252PlainTextEdit* edtDesc = nullptr;
    BulletTextEdit* edtKeyNeeds = nullptr;
    QPushButton* btnGroup = nullptr;
    WorkshopGrid* grdKeyChar = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    MaskedLineEdit* EditImpFrom = nullptr;
    MaskedLineEdit* EditImpTo = nullptr;
    MaskedLineEdit* EditMatchFrom = nullptr;
    MaskedLineEdit* EditMatchTo = nullptr;
    QPushButton* btnRefresh = nullptr;
    WorkshopGrid* grdMarkPot = nullptr;
    ListGridAdapter* itemList_ = nullptr;
    ListGridAdapter* keyChars_ = nullptr;
    ListGridAdapter* marketPotential_ = nullptr;
    // The key-characteristic row whose bounds the filter fields show, or -1.
    int boundRow_ = -1;
    PortfolioPage* graphPage_ = nullptr;
};
