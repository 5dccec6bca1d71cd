#pragma once

// The page a workshop shows a portfolio diagram on: the list of rows under its label, the
// "Filtering" box with a pair of bound fields for each plotted value and "&Refresh", the diagram
// with its axis captions and "&Copy Graph", and "&Back to Data". The workshops differ only in data
// (PortfolioPageSetup) and in the rows they build from the case through the filter the fields hold.

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

#include "widgets/portfolio_diagram.h"
#include "workshops/portfolio/portfolio_ops.h"

class MaskedLineEdit;
class PortfolioList;
class QGroupBox;
class QPushButton;
class QVBoxLayout;

struct PortfolioPageSetup {
    // The list's label, with its accelerator; without one the list is called `listName`.
    const char* listLabel = nullptr;
    const char* listName = nullptr;
    // The captions' column, then the vertical and the horizontal value's; widths in unscaled pixels.
    std::array<const char*, 3> columns{};
    std::array<int, 3> columnWidths{};
    int minimumListWidth = 0; // unscaled pixels; 0: as wide as the columns
    // What stands before each pair of fields: the vertical value's pair, then the horizontal one's.
    std::array<const char*, 2> filterCaptions{};
    portfolio::Cleaning cleaning = portfolio::Cleaning::None;
    // A rebuilt list selects again the row that stands for the same thing (same owner, entry and
    // caption); otherwise nothing is selected afterwards.
    bool keepsSelection = false;
    PortfolioParams chart;
    int paintSize = 241;
    // Help topics (0: none here); the copy button's topic is shared by every workshop, so it also
    // names its page.
    int listHelp = 0;
    int filterHelp = 0;
    int panelHelp = 0;
    int backHelp = 0;
    const char* copyHelpPage = nullptr;
    // Object names: the list, the filter box, the fields (vertical from and to, horizontal from and
    // to), Refresh, the panel, the paint box, Copy and Back; most pages keep the default names.
    const char* listObject = nullptr;
    const char* filterObject = "GroupBox1";
    std::array<const char*, 4> fieldObjects{};
    const char* refreshObject = "btn2Refresh";
    const char* panelObject = "Panel1";
    const char* paintBoxObject = "pnt2View";
    const char* copyObject = "BtnCopy";
    const char* backObject = "btnBack";
};

class PortfolioPage : public QWidget {
    Q_OBJECT
public:
    // Builds the rows for a filter; called on every rebuild.
    using RowSource = std::function<std::vector<portfolio::PlotRow>(const portfolio::PlotFilter&)>;

    PortfolioPage(const PortfolioPageSetup& setup, RowSource rows, QWidget* parent = nullptr);

    // The filter as the fields hold it now, read as typed.
    portfolio::PlotFilter filter() const;
    // Rebuilds the list through the filter and repaints the diagram.
    void rebuild();
    // What "&Refresh" does: the page's cleaning of the fields, then rebuild.
    void refresh();

    const std::vector<portfolio::PlotRow>& rows() const { return rows_; }
    // The selected row, or null.
    const portfolio::PlotRow* selectedRow() const;

    // A button of the workshop's own, above "&Back to Data".
    QPushButton* addButton(const QString& text, const char* objectName);

    PortfolioList* list() const { return list_; }
    QGroupBox* filterBox() const { return filterBox_; }
    PortfolioChart* chart() const { return chart_; }
    QPushButton* backButton() const { return back_; }

signals:
    void backClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* buildFilterBox(const PortfolioPageSetup& setup);
    void normalizePair(int first);

    RowSource source_;
    portfolio::Cleaning cleaning_;
    bool keepsSelection_;
    int captionWidth_;
    std::vector<portfolio::PlotRow> rows_;
    PortfolioList* list_ = nullptr;
    QGroupBox* filterBox_ = nullptr;
    // 0 and 1: the vertical value's pair, 2 and 3: the horizontal value's.
    std::array<MaskedLineEdit*, 4> fields_{};
    QPushButton* refresh_ = nullptr;
    PortfolioChart* chart_ = nullptr;
    QVBoxLayout* buttons_ = nullptr;
    QPushButton* back_ = nullptr;
};
