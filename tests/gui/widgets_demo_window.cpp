#include "widgets_demo_window.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "model/quick_sort.h"
#include "widgets/advanced_grid.h"
#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"
#include "widgets/text_convert.h"
#include "widgets/workshop_grid.h"

namespace {

struct DemoRisk {
    std::string Name;
    double FinImpact = 0;
    int RiskType = -1;
    int Impact = 1;
    int Likelihood = 1;
};

struct DemoCharacteristic {
    std::string Name;
    int Importance = 1;
    int Match = 1;
    bool Excluded = false;
    bool Heading = false;
};

struct DemoData {
    std::vector<DemoRisk> risks{{"Flood of the warehouse", 1250000, 0, 9, 2},
                                {"Strike & lock-out", 300000, 1, 6, 5},
                                {"New competitor enters the region", 0, -1, 7, 8},
                                {"Exchange rate", 45000, 0, 3, 9}};
    QStringList riskTypes{"Financial", "Political"};
    std::vector<DemoCharacteristic> characteristics{{"Service quality", 9, 7, false, true},
                                                    {"Price", 8, 4, false, false},
                                                    {"Delivery time", 6, 8, false, false},
                                                    {"Regional presence", 1, -1, true, false}};
};

int clampScore(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::clamp(value, 1, 10) : 1;
}

WorkshopGrid* makeCharacteristicsGrid(QWidget* parent, const std::shared_ptr<DemoData>& data)
{
    auto* grid = new WorkshopGrid(parent);
    grid->setColumnWidths({173, 57, 36});
    grid->setDefaultRowHeight(16);
    grid->setCellTextFunction([data](int col, int row, CellTextUse) -> QString {
        if (row == 0)
            return QStringList{"Key Characteristics", "Importance", "Match"}.value(col);
        if (row > static_cast<int>(data->characteristics.size()))
            return {};
        const auto& c = data->characteristics[static_cast<std::size_t>(row - 1)];
        if (col == 0)
            return toQt(c.Name);
        if (c.Excluded)
            return {};
        return QString::number(col == 1 ? c.Importance : c.Match);
    });
    grid->setCellStyleFunction([data](int, int row) {
        CellStyle style;
        if (row >= 1 && row <= static_cast<int>(data->characteristics.size())) {
            const auto& c = data->characteristics[static_cast<std::size_t>(row - 1)];
            if (c.Excluded)
                style.color = QColor(255, 0, 0);
            style.bold = c.Heading;
        }
        return style;
    });
    grid->setEditMaskFunction([](int col, int) { return col > 0 ? QStringLiteral("99;0; ") : QString(); });
    grid->setCommitEditFunction([grid, data](int col, int row, const QString& text) {
        auto& list = data->characteristics;
        if (row >= 1 && row <= static_cast<int>(list.size())) {
            auto& c = list[static_cast<std::size_t>(row - 1)];
            if (col == 0)
                c.Name = toModel(text);
            else if (col == 1)
                c.Importance = clampScore(text);
            else
                c.Match = clampScore(text);
        } else if (col == 0) {
            list.push_back({toModel(text), 1, 1, false, false});
            grid->setRowCount(static_cast<int>(list.size()) + 2);
        }
        grid->fitRowHeights();
        grid->refresh();
    });
    QObject::connect(grid, &WorkshopGrid::titlePressed, grid, [grid, data](int col, Qt::MouseButton) {
        auto& list = data->characteristics;
        if (col == 0)
            quickSort(list, [](const DemoCharacteristic& c) { return c.Name; }, SortOrder::Ascending);
        else if (col == 1)
            quickSort(list, [](const DemoCharacteristic& c) { return c.Importance; }, SortOrder::Descending);
        else
            quickSort(list, [](const DemoCharacteristic& c) { return c.Match; }, SortOrder::Descending);
        grid->fitRowHeights();
        grid->refresh();
    });
    QObject::connect(grid, &WorkshopGrid::deleteRequested, grid, [grid, data](int, int row) {
        auto& list = data->characteristics;
        if (row < 1 || row > static_cast<int>(list.size()))
            return;
        list.erase(list.begin() + (row - 1));
        grid->setRowCount(static_cast<int>(list.size()) + 2);
        grid->fitRowHeights();
    });
    grid->setRowCount(static_cast<int>(data->characteristics.size()) + 2);
    grid->fitRowHeights();
    return grid;
}

TAdvancedGrid* makeRiskGrid(QWidget* parent, const std::shared_ptr<DemoData>& data, PortfolioList* list)
{
    auto* grid = new TAdvancedGrid(parent);
    grid->setColumnWidths({181, 52, 51, 46, 58});
    grid->setDefaultRowHeight(21);
    const auto rebuildList = [data, list] {
        list->clearRows();
        for (const auto& r : data->risks)
            list->addRow(toQt(r.Name), {QString::number(r.Impact), QString::number(r.Likelihood)},
                         PortfolioList::makePlotValues(r.Impact, r.Likelihood));
    };
    grid->setCellTextFunction([data](int col, int row, CellTextUse use) -> QString {
        if (row == 0)
            return QStringList{"Risk", "Pot. Fin. Impact", "Type", "Potential Impact", "Likelih. of occurrence"}.value(col);
        if (row > static_cast<int>(data->risks.size()))
            return {};
        const auto& r = data->risks[static_cast<std::size_t>(row - 1)];
        switch (col) {
        case 0: return toQt(r.Name);
        case 1:
            // Fitted in the drawn form too, so the separators never push a line out of view.
            return use != CellTextUse::Edit ? QLocale().toString(r.FinImpact, 'f', 0).replace(QLatin1Char(' '), QChar(0xA0))
                                            : QString::number(r.FinImpact, 'f', 0);
        case 2: return data->riskTypes.value(r.RiskType);
        case 3: return QString::number(r.Impact);
        default: return QString::number(r.Likelihood);
        }
    });
    grid->setCellStyleFunction([](int col, int row) {
        CellStyle style;
        if (col == 1 && row > 0)
            style.alignment = Qt::AlignRight;
        return style;
    });
    grid->setEditMaskFunction([](int col, int) {
        if (col == 1)
            return QStringLiteral("9999999999;0; ");
        return col >= 3 ? QStringLiteral("99;0; ") : QString();
    });
    grid->setCanSelectCellFunction([grid](int col, int row) { return !(col == 2 && row == grid->rowCount() - 1); });
    grid->setOnGetCellValues([data](int, int) { return QVariant(data->riskTypes); });
    grid->setOnInitControl([grid, data](int, int, QWidget* control, TControlHandlers&) {
        auto* combo = qobject_cast<QComboBox*>(control);
        if (combo) {
            QObject::connect(combo, &QComboBox::activated, grid, [grid, data](int index) {
                const int row = grid->currentRow();
                if (row >= 1 && row <= static_cast<int>(data->risks.size()))
                    data->risks[static_cast<std::size_t>(row - 1)].RiskType = index;
                grid->refresh();
            });
        }
        return control;
    });
    grid->setCommitEditFunction([grid, data, rebuildList](int col, int row, const QString& text) {
        auto& risks = data->risks;
        if (row >= 1 && row <= static_cast<int>(risks.size())) {
            auto& r = risks[static_cast<std::size_t>(row - 1)];
            switch (col) {
            case 0: r.Name = toModel(text); break;
            case 1: r.FinImpact = text.trimmed().toDouble(); break;
            case 3: r.Impact = clampScore(text); break;
            case 4: r.Likelihood = clampScore(text); break;
            default: break;
            }
        } else if (col == 0) {
            risks.push_back({toModel(text), 0, -1, 1, 1});
            grid->setRowCount(static_cast<int>(risks.size()) + 2);
            grid->SetCellControl(2, static_cast<int>(risks.size()), cckComboBox);
        }
        rebuildList();
        grid->fitRowHeights();
        grid->refresh();
    });
    grid->setRowCount(static_cast<int>(data->risks.size()) + 2);
    for (int row = 1; row <= static_cast<int>(data->risks.size()); ++row)
        grid->SetCellControl(2, row, cckComboBox);
    grid->setGridRowHeight(0, 32);
    grid->fitRowHeights();
    rebuildList();
    return grid;
}

} // namespace

QWidget* createWidgetsDemo(QWidget* parent)
{
    auto* window = new QWidget(parent);
    window->setWindowTitle(QStringLiteral("Corvantix view components"));
    // The window layouts were made for a small 8-point font; the demo shows them that way.
    QFont small = window->font();
    small.setPointSize(8);
    window->setFont(small);
    auto data = std::make_shared<DemoData>();

    auto* list = new PortfolioList(window);
    list->setColumns({"Risk Description", "PI", "LO"}, {200, 40, 40});
    auto* riskLabel = new QLabel(QStringLiteral("Risk grid (TAdvancedGrid)"), window);
    auto* riskGrid = makeRiskGrid(window, data, list);
    riskGrid->setObjectName(QStringLiteral("riskGrid"));
    auto* keyLabel = new QLabel(QStringLiteral("Key characteristics (WorkshopGrid)"), window);
    auto* keyGrid = makeCharacteristicsGrid(window, data);
    keyGrid->setObjectName(QStringLiteral("keyCharGrid"));
    auto* listLabel = new QLabel(QStringLiteral("&List of Risks"), window);
    listLabel->setBuddy(list);
    auto* chart = new PortfolioChart(list, PortfolioParams::risks(), 237, window);
    chart->setObjectName(QStringLiteral("riskChart"));
    list->selectRow(1);

    auto* layout = new QGridLayout(window);
    layout->addWidget(riskLabel, 0, 0, 1, 2);
    layout->addWidget(riskGrid, 1, 0, 1, 2);
    layout->addWidget(keyLabel, 2, 0);
    layout->addWidget(keyGrid, 3, 0);
    layout->addWidget(listLabel, 2, 1);
    layout->addWidget(list, 3, 1);
    layout->addWidget(chart, 0, 2, 4, 1);
    layout->setRowStretch(3, 1);
    riskGrid->setMinimumSize(420, 150);
    keyGrid->setMinimumSize(290, 120);
    list->setMinimumWidth(290);
    window->resize(1000, 420);
    return window;
}
