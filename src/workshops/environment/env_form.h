#pragma once

// Describe the Environment: three pages in one window.
//   0  data entry: areas, megatrends and changes in three naming boxes, the change's description
//      and importances, and below them the impact grids and the risk grid;
//   1  the importance diagram of all changes, filtered;
//   2  the risk diagram of all risks, filtered.
// Every edit goes through the workshop's operations (environment_ops.h, impact_risk_ops.h); the
// window keeps only which area, megatrend and change are selected. Its handlers live in three
// files: this one's (pages, naming boxes, fields), env_grids_view.cpp (the grids of page 0) and
// env_graphs_view.cpp (pages 1 and 2).

#include "shell/workshop_form.h"
#include "workshops/environment/environment_ops.h"
#include "workshops/environment/impact_risk_ops.h"

#include <QPointer>

class Cp1252PlainTextEdit;
class MaskedLineEdit;
class PortfolioPage;
class QComboBox;
class QKeyEvent;
class QLabel;
class QStackedWidget;
class TAdvancedGrid;
struct TControlHandlers;
struct TRisk;
class WorkshopGrid;
class ListGridAdapter;
enum class CellCommit;

class TEnvForm : public TWorkshopForm {
    Q_OBJECT
public:
    explicit TEnvForm(QWidget* parent = nullptr);
    ~TEnvForm() override;

    // Every edit is written to the case at once; what can still be pending is a grid cell.
    void wmCommit() override;
    void wmRefresh() override;
    // Nothing typed into a naming box is asked about once the window is going away.
    void wmCaseClosed(TCaseForm* closing) override;
    void commitTypedNameToCopy() override;

    const environment::EnvSelection& selection() const { return selection_; }
    // The four impact grids in the order of environment::ImpactKind.
    WorkshopGrid* impactGrid(environment::ImpactKind kind) const;

    enum Page { DataPage = 0, ImportancePage = 1, RiskPage = 2 };
    void showPage(Page page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // ---- env_form.cpp ----
    // The change the grids and fields show, or null.
    const TChange* shownChange() const;
    QWidget* buildDataPage();
    void Reload();
    void applySelection(const environment::EnvSelection& selection);
    void fillLevel(QComboBox* box, environment::Level level, int selected);
    void SelectChange();
    void cmbSelectionChanged(environment::Level level, int index);
    void commitTypedText(environment::Level level);
    void deleteLevelItem(environment::Level level);
    void edtDescChange();
    void importanceChanged(environment::When when);
    QComboBox* levelBox(environment::Level level) const;
    environment::Level levelOf(const QObject* box) const;

    // ---- env_grids_view.cpp ----
    QWidget* buildImpactSheet();
    QWidget* buildRiskSheet();
    void setUpImpactGrid(WorkshopGrid* grid, environment::ImpactKind kind, int nameWidth);
    void reloadGrids(bool enabled);
    void MarkTypeColumn();
    // Widens the amount and type columns so no amount or type name is cut off: for every risk of the
    // change, or for one that just changed.
    void widenRiskColumns(const TRisk* changed = nullptr);
    QString riskCellText(int col, int row, int use) const;
    void commitRiskCell(int col, int row, const QString& text);
    void riskCommitted(CellCommit result, int col, int row);
    void commitRiskType(int row, const QString& text);
    QWidget* initRiskTypeControl(int col, int row, QWidget* control, TControlHandlers& handlers);
    bool riskTypeKeyDown(QKeyEvent* event);
    void riskTypeFocusEntered();
    void SyncRiskTypeBox();
    QComboBox* riskTypeBox() const;
    int currentRiskTypeOfRow(int row) const;

    // ---- env_graphs_view.cpp ----
    QWidget* buildImportancePage();
    QWidget* buildRiskPage();
    void BuildChangeList();
    void BuildRiskList();

    QStackedWidget* Notebook1 = nullptr;
    QComboBox* cmbArea = nullptr;
    QComboBox* cmbMega = nullptr;
    QComboBox* cmbChange = nullptr;
    Cp1252PlainTextEdit* edtDesc = nullptr;
    QLabel* lblImpNow = nullptr;
    MaskedLineEdit* edtImpNow = nullptr;
    QLabel* lblImpFuture = nullptr;
    MaskedLineEdit* edtImpFuture = nullptr;
    WorkshopGrid* grdStrengths = nullptr;
    WorkshopGrid* grdOpportunities = nullptr;
    WorkshopGrid* grdWeaknesses = nullptr;
    WorkshopGrid* grdThreats = nullptr;
    TAdvancedGrid* grdRisk = nullptr;
    PortfolioPage* importancePage_ = nullptr;
    PortfolioPage* riskPage_ = nullptr;
    environment::EnvSelection selection_;
    ListGridAdapter* impacts_[4] = {};
    ListGridAdapter* risks_ = nullptr;
    // Set while a naming box or the risk-type box runs its own commit, so that the focus moving
    // away during the question does not start a second one.
    bool committingTyped_ = false;
    bool closing_ = false;
};
