#include "workshops/environment/competitor_form.h"

#include <QGridLayout>
#include <QLabel>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "shell/help_window.h"
#include "shell/list_grid_adapter.h"
#include "shell/workshop_catalog.h"
#include "widgets/buddy_label.h"
#include "widgets/bullet_text_edit.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/edit_state.h"
#include "widgets/layout_scale.h"
#include "widgets/text_convert.h"
#include "widgets/workshop_grid.h"
#include "workshops/environment/competitor_ops.h"

using competitors::CompetitorTexts;

namespace {

enum HelpContext {
    kWindowHelp = 20035,
    kGridHelp = 52000,
    kDescHelp = 52005,
    kServicesHelp = 52010,
    kClientsHelp = 52015,
    kAdvantagesHelp = 52020,
    kDisadvantagesHelp = 52025,
    kDevelopHelp = 52030,
    kWatchHelp = 52035,
};

void registerHelpTopics()
{
    help::registerTopic(kWindowHelp, QStringLiteral("competitors.html"));
    help::registerTopic(kGridHelp, QStringLiteral("competitors.html#list"));
    help::registerTopic(kDescHelp, QStringLiteral("competitors.html#description"));
    help::registerTopic(kServicesHelp, QStringLiteral("competitors.html#services"));
    help::registerTopic(kClientsHelp, QStringLiteral("competitors.html#clients"));
    help::registerTopic(kAdvantagesHelp, QStringLiteral("competitors.html#advantages"));
    help::registerTopic(kDisadvantagesHelp, QStringLiteral("competitors.html#disadvantages"));
    help::registerTopic(kDevelopHelp, QStringLiteral("competitors.html#development"));
    help::registerTopic(kWatchHelp, QStringLiteral("competitors.html#watch"));
}

template <class Edit>
Edit* makeText(const char* name, int helpContext, QWidget* parent)
{
    auto* edit = new Edit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setTabChangesFocus(true);
    help::setHelpContext(edit, helpContext);
    return edit;
}

} // namespace

TCompetitorForm::TCompetitorForm(QWidget* parent) : TWorkshopForm(workshop_id::Competitors, parent)
{
    setObjectName(QStringLiteral("TCompetitorForm"));
    registerHelpTopics();
    help::setHelpContext(this, kWindowHelp);

    buildGrid();
    auto* label1 = labelFor(tr("&List of Key Competitors"), grdCompList, this);
    edtDesc = makeText<Cp1252PlainTextEdit>("edtDesc", kDescHelp, this);
    edtDesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* label2 = labelFor(tr("&Description"), edtDesc, this);
    edtServices = makeText<BulletTextEdit>("edtServices", kServicesHelp, this);
    auto* label3 = labelFor(tr("&Key Services"), edtServices, this);
    edtClients = makeText<BulletTextEdit>("edtClients", kClientsHelp, this);
    auto* label4 = labelFor(tr("Key &Clients"), edtClients, this);
    edtAdv = makeText<BulletTextEdit>("edtAdv", kAdvantagesHelp, this);
    auto* label5 = labelFor(tr("Key &Advantages"), edtAdv, this);
    edtDisadv = makeText<BulletTextEdit>("edtDisadv", kDisadvantagesHelp, this);
    auto* label6 = labelFor(tr("Key Di&sadvantages"), edtDisadv, this);
    edtDevelop = makeText<Cp1252PlainTextEdit>("edtDevelop", kDevelopHelp, this);
    auto* label7 = labelFor(tr("&Potential Development/Key Activities"), edtDevelop, this);
    edtWatch = makeText<Cp1252PlainTextEdit>("edtWatch", kWatchHelp, this);
    auto* label8 = labelFor(tr("Watch Poin&ts"), edtWatch, this);

    // Two equal columns; rows of 77, 57, 57 and 49 pixels, each under its labels.
    auto* layout = new QGridLayout(this);
    const std::pair<QLabel*, QWidget*> cells[4][2] = {
        {{label1, grdCompList}, {label2, edtDesc}},
        {{label3, edtServices}, {label4, edtClients}},
        {{label5, edtAdv}, {label6, edtDisadv}},
        {{label7, edtDevelop}, {label8, edtWatch}},
    };
    const int heights[4] = {77, 57, 57, 49};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 2; ++c) {
            layout->addWidget(cells[r][c].first, 2 * r, c);
            layout->addWidget(cells[r][c].second, 2 * r + 1, c);
            cells[r][c].second->setMinimumHeight(scaledPixels(this, heights[r] * 2 / 3));
        }
        layout->setRowStretch(2 * r + 1, heights[r]);
    }
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    // The list shows its title row and four competitors whole, as the described 77 pixels do with
    // the small font's 15-pixel rows.
    grdCompList->setMinimumHeight(scaledPixels(this, 5 * 15 + 15) + 2 * grdCompList->frameWidth());

    QWidget* order[] = {grdCompList, edtDesc, edtServices, edtClients, edtAdv, edtDisadv, edtDevelop, edtWatch};
    for (std::size_t k = 1; k < std::size(order); ++k)
        setTabOrder(order[k - 1], order[k]);

    for (Cp1252PlainTextEdit* edit : {edtDesc, edtDevelop, edtWatch})
        connect(edit, &QPlainTextEdit::textChanged, this, &TCompetitorForm::textEdited);
    for (BulletTextEdit* edit : {edtServices, edtClients, edtAdv, edtDisadv})
        connect(edit, &QTextEdit::textChanged, this, &TCompetitorForm::textEdited);

    resize(scaledSize(this, 602, 329));
}

void TCompetitorForm::buildGrid()
{
    using namespace competitors;
    grdCompList = new WorkshopGrid(this);
    grdCompList->setObjectName(QStringLiteral("grdCompList"));
    help::setHelpContext(grdCompList, kGridHelp);
    grdCompList->setColumnWidths({scaledPixels(this, 191), scaledPixels(this, 66)});
    grdCompList->setDefaultRowHeight(scaledPixels(this, 15));
    grdCompList->setColumnSizing(true);
    grdCompList->setEditingEnabled(true);
    grdCompList->setRowCount(2);
    grdCompList->setEditMaskFunction([](int col, int) { return col == ColShare ? QStringLiteral("999;0; ") : QString(); });
    ListGridAdapter::Hooks hooks;
    hooks.committed = [this](CellCommit result, int, int) {
        if (result == CellCommit::Added)
            grdCompList->setRowCount(compList_->rowCount());
        grdCompList->fitRowHeights();
        showCompetitor();
    };
    hooks.sorted = [this](int) { sendRefresh(); };
    hooks.beforeDelete = [this] {
        if (shown_ >= 0)
            storeCompetitorTexts(data(), shown_, shownTexts());
    };
    hooks.deleted = [this] { sendRefresh(); };
    compList_ = new ListGridAdapter(this, grdCompList, competitors::competitorGrid(), std::move(hooks));

    connect(grdCompList, &WorkshopGrid::cellSelected, this, [this] { showCompetitor(); });
}

int TCompetitorForm::currentCompetitor() const
{
    return compList_->entryAt(grdCompList->currentRow());
}

CompetitorTexts TCompetitorForm::shownTexts() const
{
    // A field the user left alone keeps the competitor's text byte for byte.
    CompetitorTexts texts;
    if (caseForm() && data().Competitors.InRange(shown_))
        texts = competitors::textsOf(data().Competitors[shown_]);
    commitShownText(texts.description, edtDesc->plainText());
    commitShownText(texts.keyServices, edtServices->plainText());
    commitShownText(texts.keyClients, edtClients->plainText());
    commitShownText(texts.keyAdvantages, edtAdv->plainText());
    commitShownText(texts.keyDisadvantages, edtDisadv->plainText());
    commitShownText(texts.potentialDev, edtDevelop->plainText());
    commitShownText(texts.watchPoints, edtWatch->plainText());
    return texts;
}

void TCompetitorForm::showCompetitor()
{
    if (!caseForm())
        return;
    protocol::UpdatingGuard guard(this);
    shown_ = currentCompetitor();
    const CompetitorTexts texts = shown_ >= 0 ? competitors::textsOf(data().Competitors[shown_]) : CompetitorTexts{};
    const auto fill = [](auto* edit, const std::string& text) {
        if (const QString shown = toQt(text); edit->plainText() != shown)
            edit->setPlainText(shown);
    };
    fill(edtDesc, texts.description);
    fill(edtServices, texts.keyServices);
    fill(edtClients, texts.keyClients);
    fill(edtAdv, texts.keyAdvantages);
    fill(edtDisadv, texts.keyDisadvantages);
    fill(edtDevelop, texts.potentialDev);
    fill(edtWatch, texts.watchPoints);
    const bool enabled = shown_ >= 0;
    for (QWidget* box : std::initializer_list<QWidget*>{edtDesc, edtServices, edtClients, edtAdv, edtDisadv,
                                                         edtDevelop, edtWatch})
        box->setEnabled(enabled);
}

void TCompetitorForm::textEdited()
{
    if (!canEdit() || shown_ < 0)
        return;
    competitors::editCompetitorTexts(edit(), shown_, shownTexts());
}

void TCompetitorForm::wmCommit()
{
    if (!caseForm())
        return;
    // A commit stores without an undo step and without marking the case modified.
    if (shown_ >= 0 && data().Competitors.InRange(shown_))
        competitors::storeCompetitorTexts(data(), shown_, shownTexts());
    // Saving or closing right after typing into a cell keeps what was typed.
    grdCompList->commitPendingEdit();
}

void TCompetitorForm::wmRefresh()
{
    if (!caseForm())
        return;
    grdCompList->setRowCount(compList_->rowCount());
    grdCompList->refresh();
    grdCompList->fitRowHeights();
    showCompetitor();
}
