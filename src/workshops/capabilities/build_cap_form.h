#pragma once

// Workshop 6, Build Your Capabilities: the general capabilities, the services with their own
// capabilities, and a Graph page that plots the filtered capabilities by importance today and
// tomorrow.

#include "shell/workshop_form.h"
#include "workshops/capabilities/capabilities_ops.h"

#include <vector>

class ListGridAdapter;
class PortfolioPage;
class QPlainTextEdit;
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
    QStackedWidget* Notebook1 = nullptr;
    QWidget* pageData = nullptr;
    WorkshopGrid* grdGenCap = nullptr;
    WorkshopGrid* grdServices = nullptr;
    QPlainTextEdit* edtDesc = nullptr;
    WorkshopGrid* grdSpecCap = nullptr;
    PortfolioPage* graphPage_ = nullptr;
    ListGridAdapter* genCaps_ = nullptr;
    ListGridAdapter* specCaps_ = nullptr;
};
