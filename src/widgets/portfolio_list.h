#pragma once

// The read-only report list beside a portfolio diagram. Each row has a caption, sub-items and
// one 32-bit PlotValues word: the vertical value in the low 16 bits, the horizontal value in the
// high 16 bits, 0 for a heading row that is listed but never plotted or picked.

#include <QTreeWidget>

#include <cstdint>
#include <vector>

#include "widgets/copy_text_source.h"

class PortfolioList : public QTreeWidget, public CopyTextSource {
    Q_OBJECT
public:
    explicit PortfolioList(QWidget* parent = nullptr);

    static uint32_t makePlotValues(int vertical, int horizontal);
    static int verticalOf(uint32_t plotValues) { return static_cast<int>(plotValues & 0xFFFFu); }
    static int horizontalOf(uint32_t plotValues) { return static_cast<int>(plotValues >> 16); }

    // Column titles and widths; the first column holds the captions.
    void setColumns(const QStringList& titles, const std::vector<int>& widths = {});

    // Appends a row and returns its position.
    int addRow(const QString& caption, const QStringList& subItems, uint32_t plotValues);
    void clearRows() { clear(); }
    int rowCount() const { return topLevelItemCount(); }
    uint32_t plotValues(int row) const;
    // The selected row, or -1.
    int selectedRow() const;
    // Selects the row, makes it current and scrolls it fully into view; -1 clears the selection.
    void selectRow(int row);

    // Every row in order: its caption, a tab and the text of each of its sub-items, CR LF.
    QString copyText() const override;

signals:
    // The selected row changed (by the user, a pick on the diagram or selectRow).
    void selectedRowChanged(int row);
};
