#pragma once

// The window of Judge Your Competitors: the competitors with their market shares in a grid, and
// seven texts about the competitor of the grid's current row beside and below it.

#include "shell/workshop_form.h"

class BulletTextEdit;
class Cp1252PlainTextEdit;
class ListGridAdapter;
class WorkshopGrid;

namespace competitors {
struct CompetitorTexts;
}

class TCompetitorForm : public TWorkshopForm {
    Q_OBJECT
public:
    explicit TCompetitorForm(QWidget* parent = nullptr);

    void wmCommit() override;
    void wmRefresh() override;

    // The competitor of the grid's current row, -1 for none.
    int currentCompetitor() const;

private:
    void buildGrid();
    // Puts the current competitor's texts into the seven boxes, enabled only when there is one.
    void showCompetitor();
    competitors::CompetitorTexts shownTexts() const;
    void textEdited();

    WorkshopGrid* grdCompList = nullptr;
    Cp1252PlainTextEdit* edtDesc = nullptr;
    BulletTextEdit* edtServices = nullptr;
    BulletTextEdit* edtClients = nullptr;
    BulletTextEdit* edtAdv = nullptr;
    BulletTextEdit* edtDisadv = nullptr;
    Cp1252PlainTextEdit* edtDevelop = nullptr;
    Cp1252PlainTextEdit* edtWatch = nullptr;

    ListGridAdapter* compList_ = nullptr;
    // The competitor whose texts the boxes show: texts typed are stored into it, even when the
    // grid's current row has moved on before the change arrives.
    int shown_ = -1;
};
