#pragma once

// Workshop 6, Build Your Capabilities: the general capabilities, the services with their own
// capabilities, and a Graph page that plots the filtered capabilities by importance today and
// tomorrow.

#include "shell/workshop_form.h"
#include "workshops/capabilities/capabilities_ops.h"

#include <vector>

class ListGridAdapter;
class MaskedLineEdit;
class PortfolioChart;
class PortfolioList;
class PortfolioPage;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QStackedWidget;
class WorkshopGrid;

class TBuildCapForm : public TWorkshopForm {
    Q_OBJECT
public:
    explicit TBuildCapForm(QWidget* parent = nullptr);

    void wmCommit() override;
    void wmRefresh() override;

    // The product whose capabilities grdSpecCap shows, or -1 when no product is selected.
    int selectedProduct() const;

    QStackedWidget* Notebook1 = nullptr;
    QWidget* pageData = nullptr;
    QWidget* pageGraph = nullptr;

    QLabel* Label1 = nullptr;
    WorkshopGrid* grdGenCap = nullptr;
    QLabel* Label5 = nullptr;
    WorkshopGrid* grdServices = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* edtDesc = nullptr;
    QLabel* Label3 = nullptr;
    WorkshopGrid* grdSpecCap = nullptr;
    QToolButton* btnGraph = nullptr;

    QLabel* Label6 = nullptr;
    PortfolioList* lst2Caps = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    MaskedLineEdit* edtTodayFrom = nullptr;
    MaskedLineEdit* edtTodayTo = nullptr;
    MaskedLineEdit* edtTomorrowFrom = nullptr;
    MaskedLineEdit* edtTomorrowTo = nullptr;
    QPushButton* btn2Refresh = nullptr;
    PortfolioChart* chart = nullptr; // Label15, Panel1 with pnt2View, Label16 and BtnCopy
    QPushButton* btnBack = nullptr;

private:
    void buildDataPage();
    void buildGraphPage();
    ListGridAdapter* setUpCapabilityGrid(WorkshopGrid* grid, const std::vector<int>& widths);
    ListGridAdapter* capabilitiesOf(const WorkshopGrid* grid) const;
    int ownerOf(const WorkshopGrid* grid) const;

    void grdServicesClick();

    void Notebook1PageChanged();
    void showPage(QWidget* page);

    // The product grdSpecCap was last filled for: its pending edit belongs to that product even
    // when the services grid has moved on.
    int specOwnerShown_ = capabilities::kNoOwner;
    PortfolioPage* graphPage_ = nullptr;
    ListGridAdapter* genCaps_ = nullptr;
    ListGridAdapter* specCaps_ = nullptr;
};
