#include "widgets/portfolio_list.h"

#include <QHeaderView>

namespace {
constexpr int PlotValuesRole = Qt::UserRole;
constexpr int SubItemCountRole = Qt::UserRole + 1;
} // namespace

PortfolioList::PortfolioList(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { emit selectedRowChanged(selectedRow()); });
}

uint32_t PortfolioList::makePlotValues(int vertical, int horizontal)
{
    return (static_cast<uint32_t>(vertical) & 0xFFFFu) | ((static_cast<uint32_t>(horizontal) & 0xFFFFu) << 16);
}

void PortfolioList::setColumns(const QStringList& titles, const std::vector<int>& widths)
{
    setColumnCount(static_cast<int>(titles.size()));
    setHeaderLabels(titles);
    for (std::size_t c = 0; c < widths.size(); ++c)
        setColumnWidth(static_cast<int>(c), widths[c]);
}

int PortfolioList::addRow(const QString& caption, const QStringList& subItems, uint32_t plotValues)
{
    auto* item = new QTreeWidgetItem(this);
    item->setText(0, caption);
    for (int k = 0; k < subItems.size(); ++k)
        item->setText(k + 1, subItems.at(k));
    item->setData(0, PlotValuesRole, static_cast<uint>(plotValues));
    item->setData(0, SubItemCountRole, static_cast<int>(subItems.size()));
    return indexOfTopLevelItem(item);
}

uint32_t PortfolioList::plotValues(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? static_cast<uint32_t>(item->data(0, PlotValuesRole).toUInt()) : 0u;
}

int PortfolioList::selectedRow() const
{
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : indexOfTopLevelItem(items.first());
}

void PortfolioList::selectRow(int row)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) {
        clearSelection();
        return;
    }
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item, QAbstractItemView::EnsureVisible);
}

QString PortfolioList::copyText() const
{
    QString out;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = topLevelItem(row);
        out += item->text(0);
        const int subItems = item->data(0, SubItemCountRole).toInt();
        for (int k = 1; k <= subItems; ++k) {
            out += QLatin1Char('\t');
            out += item->text(k);
        }
        out += QStringLiteral("\r\n");
    }
    return out;
}
