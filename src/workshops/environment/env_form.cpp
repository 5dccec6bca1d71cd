#include "workshops/environment/env_form.h"

#include "model/case_data.h"
#include "model/case_edit.h"
#include "shell/add_or_rename.h"
#include "shell/help_window.h"
#include "shell/workshop_catalog.h"
#include "widgets/advanced_grid.h"
#include "widgets/buddy_label.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/edit_mask.h"
#include "widgets/edit_state.h"
#include "widgets/layout_scale.h"
#include "widgets/text_convert.h"
#include "widgets/workshop_grid.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QScopedValueRollback>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace environment;

namespace {

void registerHelpTopics()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    const QString page = QStringLiteral("environment.html");
    const std::pair<int, const char*> topics[] = {
        {51000, "#areas"},   {51005, "#megatrends"}, {51010, "#changes"},   {51015, "#description"},
        {51020, "#importance"}, {51025, "#impacts"},  {51030, "#risks"},     {51035, "#importance-diagram"},
        {51040, "#risk-diagram"}, {51100, "#importance-diagram"}, {51105, "#importance-diagram"},
        {51110, "#importance-diagram"}, {51115, "#data"}, {51200, "#risk-diagram"}, {51205, "#risk-diagram"},
        {51210, "#risk-diagram"},
    };
    for (const auto& [context, anchor] : topics)
        help::registerTopic(context, page + QLatin1String(anchor));
}

// The pictures above the captions of the two page buttons, drawn rather than shipped.
QIcon buttonGlyph(bool risk)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (risk) {
        QPainterPath triangle;
        triangle.moveTo(12, 2);
        triangle.lineTo(23, 22);
        triangle.lineTo(1, 22);
        triangle.closeSubpath();
        painter.fillPath(triangle, QColor(0xE8, 0xB0, 0x20));
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(12, 8, 12, 15);
        painter.drawPoint(12, 19);
    } else {
        painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        painter.drawRect(2, 2, 20, 20);
        painter.drawLine(12, 2, 12, 22);
        painter.drawLine(2, 12, 22, 12);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRect(5, 5, 4, 4);
        painter.drawRect(15, 14, 4, 4);
        painter.setBrush(Qt::red);
        painter.drawRect(16, 4, 4, 4);
    }
    return QIcon(pixmap);
}

QComboBox* makeNamingBox(QWidget* parent, const char* name, int helpContext)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    // The add-or-rename protocol decides what a typed name becomes: the box must neither add it
    // on Enter nor complete it into an existing name while the user types.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    help::setHelpContext(box, helpContext);
    return box;
}

MaskedLineEdit* makeScoreEdit(QWidget* parent, const char* name)
{
    auto* edit = new MaskedLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setEditMask(QStringLiteral("99;0; "));
    edit->setMaxLength(2);
    // Room for two digits of the font in use, whatever its size.
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + scaledPixels(edit, 12));
    return edit;
}

bool isEnter(const QKeyEvent* key, Qt::KeyboardModifiers modifiers)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

} // namespace

TEnvForm::TEnvForm(QWidget* parent) : TWorkshopForm(workshop_id::Environment, parent)
{
    registerHelpTopics();
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    Notebook1->addWidget(buildDataPage());
    Notebook1->addWidget(buildImportancePage());
    Notebook1->addWidget(buildRiskPage());
    Notebook1->setCurrentIndex(DataPage);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Notebook1);
    resize(scaledSize(this, 602, 331).expandedTo(minimumSizeHint()));
}

TEnvForm::~TEnvForm()
{
    // The controls outlive this part of the object while the window is torn down. The focus
    // leaves them while the window is still whole (and asks nothing then), and afterwards no
    // event or grid callback of theirs may reach it.
    closing_ = true;
    if (QWidget* focused = QApplication::focusWidget(); focused && isAncestorOf(focused))
        focused->clearFocus();
    for (QComboBox* box : {cmbArea, cmbMega, cmbChange, riskTypeBox()}) {
        if (!box)
            continue;
        box->removeEventFilter(this);
        box->lineEdit()->removeEventFilter(this);
    }
    for (WorkshopGrid* grid : {grdStrengths, grdOpportunities, grdWeaknesses, grdThreats,
                               static_cast<WorkshopGrid*>(grdRisk)}) {
        grid->setCommitEditFunction({});
        grid->setCanSelectCellFunction({});
    }
    grdRisk->setOnInitControl({});
    grdRisk->setOnGetCellValues({});
}

QWidget* TEnvForm::buildDataPage()
{
    auto* page = new QWidget;

    cmbArea = makeNamingBox(page, "cmbArea", 51000);
    cmbMega = makeNamingBox(page, "cmbMega", 51005);
    cmbChange = makeNamingBox(page, "cmbChange", 51010);
    QLabel* Label1 = labelFor(tr("&Areas of Change"), cmbArea, page, "Label1");
    QLabel* Label2 = labelFor(tr("&Megatrends"), cmbMega, page, "Label2");
    QLabel* Label3 = labelFor(tr("&Changes"), cmbChange, page, "Label3");
    const Level levels[] = {Level::Area, Level::Megatrend, Level::Change};
    for (Level level : levels) {
        QComboBox* box = levelBox(level);
        box->setMinimumWidth(scaledPixels(box, 185));
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
        connect(box, &QComboBox::currentIndexChanged, this, [this, level](int index) {
            if (!protocol::updating(this))
                cmbSelectionChanged(level, index);
        });
    }

    edtDesc = new Cp1252PlainTextEdit(page);
    edtDesc->setObjectName(QStringLiteral("edtDesc"));
    edtDesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edtDesc->setTabChangesFocus(true);
    edtDesc->setMinimumWidth(scaledPixels(edtDesc, 200));
    help::setHelpContext(edtDesc, 51015);
    QLabel* Label4 = labelFor(tr("&Description of Change"), edtDesc, page, "Label4");
    connect(edtDesc, &QPlainTextEdit::textChanged, this, [this] { edtDescChange(); });

    auto* GroupBox1 = new QGroupBox(tr("Importance"), page);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    help::setHelpContext(GroupBox1, 51020);
    edtImpNow = makeScoreEdit(GroupBox1, "edtImpNow");
    edtImpFuture = makeScoreEdit(GroupBox1, "edtImpFuture");
    lblImpNow = labelFor(QStringLiteral("a&s of 30/12/1899:"), edtImpNow, GroupBox1, "lblImpNow");
    lblImpFuture = labelFor(QStringLiteral("as of 30/12/1899:"), edtImpFuture, GroupBox1, "lblImpFuture");
    connect(edtImpNow, &QLineEdit::textChanged, this, [this] { importanceChanged(When::Today); });
    connect(edtImpFuture, &QLineEdit::textChanged, this, [this] { importanceChanged(When::Tomorrow); });
    auto* importance = new QGridLayout(GroupBox1);
    importance->addWidget(lblImpNow, 0, 0);
    importance->addWidget(edtImpNow, 0, 1);
    importance->addWidget(lblImpFuture, 1, 0);
    importance->addWidget(edtImpFuture, 1, 1);

    const auto pageButton = [page](const char* name, const QString& text, bool risk, int helpContext) {
        auto* button = new QToolButton(page);
        button->setObjectName(QLatin1String(name));
        button->setText(text);
        button->setIcon(buttonGlyph(risk));
        button->setIconSize(QSize(scaledPixels(button, 24), scaledPixels(button, 24)));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        button->setAccessibleName(QString(text).remove(QLatin1Char('&')));
        help::setHelpContext(button, helpContext);
        return button;
    };
    QToolButton* btnRisk = pageButton("btnRisk", tr("&Risk"), true, 51040);
    QToolButton* btnGraph = pageButton("btnGraph", tr("&Importance"), false, 51035);
    connect(btnRisk, &QToolButton::clicked, this, [this] { showPage(RiskPage); });
    connect(btnGraph, &QToolButton::clicked, this, [this] { showPage(ImportancePage); });

    auto* PageControl1 = new QTabWidget(page);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    QWidget* Impact = buildImpactSheet();
    PageControl1->addTab(Impact, tr("Impact on Organization"));
    PageControl1->addTab(buildRiskSheet(), tr("Risk Analysis"));
    PageControl1->setCurrentWidget(Impact);

    auto* names = new QVBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{Label1, cmbArea, Label2, cmbMega, Label3, cmbChange})
        names->addWidget(widget);
    names->addStretch();
    auto* description = new QVBoxLayout;
    description->addWidget(Label4);
    description->addWidget(edtDesc, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnRisk);
    buttons->addWidget(btnGraph);
    auto* importanceColumn = new QVBoxLayout;
    importanceColumn->addWidget(GroupBox1);
    importanceColumn->addLayout(buttons, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(names, 1);
    top->addLayout(description, 1);
    top->addLayout(importanceColumn);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(PageControl1, 1);

    setTabOrder(cmbArea, cmbMega);
    setTabOrder(cmbMega, cmbChange);
    setTabOrder(cmbChange, edtImpNow);
    setTabOrder(edtImpNow, edtImpFuture);
    setTabOrder(edtImpFuture, edtDesc);
    setTabOrder(edtDesc, btnRisk);
    setTabOrder(btnRisk, btnGraph);
    setTabOrder(btnGraph, PageControl1);
    setTabOrder(PageControl1, grdStrengths);
    setTabOrder(grdStrengths, grdWeaknesses);
    setTabOrder(grdWeaknesses, grdOpportunities);
    setTabOrder(grdOpportunities, grdThreats);
    return page;
}

void TEnvForm::showPage(Page page)
{
    Notebook1->setCurrentIndex(page);
    if (page == ImportancePage)
        BuildChangeList();
    else if (page == RiskPage)
        BuildRiskList();
}

// ---- Protocol --------------------------------------------------------------------------------

void TEnvForm::wmCommit()
{
    // A cell typed into and not yet left reaches the case before it is saved or closed. So does
    // the type box when it names a type or is empty; a new type name needs the add-or-rename
    // question, which is no thing to ask while saving: it waits until the box is left.
    for (WorkshopGrid* grid : {grdStrengths, grdOpportunities, grdWeaknesses, grdThreats})
        grid->commitPendingEdit();
    const QComboBox* typeBox = riskTypeBox();
    if (typeBox && !typeBox->currentText().isEmpty() && findNameIgnoringCase(*typeBox, typeBox->currentText()) < 0)
        grdRisk->WorkshopGrid::commitPendingEdit();
    else
        grdRisk->commitPendingEdit();
}

void TEnvForm::wmRefresh()
{
    Reload();
    // The diagram pages show the case as it is now, too.
    if (Notebook1->currentIndex() == ImportancePage)
        BuildChangeList();
    else if (Notebook1->currentIndex() == RiskPage)
        BuildRiskList();
}

void TEnvForm::wmCaseClosed(TCaseForm* closing)
{
    if (closing == caseForm())
        closing_ = true;
    TWorkshopForm::wmCaseClosed(closing);
}

void TEnvForm::closeEvent(QCloseEvent* event)
{
    closing_ = true;
    TWorkshopForm::closeEvent(event);
}

// ---- Areas, megatrends, changes ---------------------------------------------------------------

const TChange* TEnvForm::shownChange() const
{
    return caseForm() ? currentChange(data(), selection_) : nullptr;
}

QComboBox* TEnvForm::levelBox(Level level) const
{
    switch (level) {
    case Level::Area: return cmbArea;
    case Level::Megatrend: return cmbMega;
    case Level::Change: break;
    }
    return cmbChange;
}

void TEnvForm::Reload()
{
    // The area, megatrend and change shown stay while they exist: the user's next keystroke must
    // land on the entry on screen. The first ones take over where they are gone.
    EnvSelection shown = selection_;
    shown.area = std::max(cmbArea->currentIndex(), 0);
    if (shown.area != selection_.area)
        shown.megatrend = shown.change = -1;
    const TCaseData& caseData = data();
    lblImpNow->setText(translated(core_text::kWorkshopTexts, importanceTodayLabel(caseData)));
    lblImpFuture->setText(translated(core_text::kWorkshopTexts, importanceTomorrowLabel(caseData)));
    edtImpNow->setAccessibleName(lblImpNow->text().remove(QLatin1Char('&')));
    edtImpFuture->setAccessibleName(lblImpFuture->text());
    applySelection(reloadKeeping(caseData, shown));
}

void TEnvForm::fillLevel(QComboBox* box, Level level, int selected)
{
    protocol::UpdatingGuard quiet(this);
    QStringList names;
    for (const std::string& name : levelNames(data(), level, selection_))
        names.append(toQt(name));
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(selected);
    if (selected < 0)
        box->setEditText(QString());
    // A long name shows its beginning.
    box->lineEdit()->setCursorPosition(0);
}

void TEnvForm::applySelection(const EnvSelection& selection)
{
    selection_ = selection;
    fillLevel(cmbArea, Level::Area, selection.area);
    fillLevel(cmbMega, Level::Megatrend, selection.megatrend);
    fillLevel(cmbChange, Level::Change, selection.change);
    const bool hasArea = currentArea(data(), selection_) != nullptr;
    cmbMega->setEnabled(hasArea);
    cmbChange->setEnabled(hasArea);
    SelectChange();
}

void TEnvForm::SelectChange()
{
    const ChangeFields fields = caseForm() ? changeFields(data(), selection_) : ChangeFields{};
    {
        protocol::UpdatingGuard quiet(this);
        if (edtDesc->plainText() != toQt(fields.description))
            edtDesc->setPlainText(toQt(fields.description));
        edtImpNow->setText(QString::fromStdString(fields.impToday));
        edtImpFuture->setText(QString::fromStdString(fields.impTomorrow));
        reloadGrids(fields.enabled);
    }
    edtDesc->setEnabled(fields.enabled);
    edtImpNow->setEnabled(fields.enabled);
    edtImpFuture->setEnabled(fields.enabled);
}

void TEnvForm::cmbSelectionChanged(Level level, int index)
{
    if (!caseForm())
        return;
    switch (level) {
    case Level::Area: {
        const EnvSelection chosen = selectArea(data(), index);
        selection_ = chosen;
        fillLevel(cmbMega, Level::Megatrend, chosen.megatrend);
        fillLevel(cmbChange, Level::Change, chosen.change);
        const bool hasArea = currentArea(data(), selection_) != nullptr;
        cmbMega->setEnabled(hasArea);
        cmbChange->setEnabled(hasArea);
        SelectChange();
        break;
    }
    case Level::Megatrend:
        selection_.megatrend = index;
        break;
    case Level::Change:
        selection_ = selectChange(data(), selection_, index);
        SelectChange();
        break;
    }
}

void TEnvForm::commitTypedText(Level level)
{
    if (committingTyped_ || closing_ || !canEdit())
        return;
    QScopedValueRollback busy(committingTyped_, true);
    QComboBox* box = levelBox(level);
    const auto result = environment::commitTypedText(edit(), questions(), level, selection_, toModel(box->currentText()));
    if (!result)
        return;
    switch (level) {
    case Level::Area:
        applySelection(result->selection);
        break;
    case Level::Megatrend:
        selection_ = result->selection;
        fillLevel(cmbMega, Level::Megatrend, selection_.megatrend);
        break;
    case Level::Change:
        selection_ = result->selection;
        fillLevel(cmbChange, Level::Change, selection_.change);
        SelectChange();
        break;
    }
}

void TEnvForm::commitTypedNameToCopy()
{
    const QWidget* focused = QApplication::focusWidget();
    const auto holdsFocus = [focused](const QComboBox* box) {
        return box && focused && (focused == box || box->isAncestorOf(focused));
    };
    for (Level level : {Level::Area, Level::Megatrend, Level::Change})
        if (const QComboBox* box = levelBox(level); holdsFocus(box))
            environment::commitTypedText(edit(), questions(), level, selection_, toModel(box->currentText()));
    if (const QComboBox* box = riskTypeBox(); holdsFocus(box)) {
        const int row = grdRisk->currentRow();
        commitRiskTypeText(edit(), questions(), selection_, row, currentRiskTypeOfRow(row), toModel(box->currentText()));
    }
}

void TEnvForm::deleteLevelItem(Level level)
{
    if (committingTyped_ || !canEdit())
        return;
    QScopedValueRollback busy(committingTyped_, true);
    if (const auto after = deleteSelected(edit(), questions(), level, selection_))
        applySelection(*after);
}

void TEnvForm::edtDescChange()
{
    if (canEdit())
        setDescription(edit(), selection_, toModel(edtDesc->plainText()));
}

void TEnvForm::importanceChanged(When when)
{
    if (!canEdit())
        return;
    MaskedLineEdit* box = when == When::Today ? edtImpNow : edtImpFuture;
    const auto stored = setImportance(edit(), selection_, when, toModel(box->text()));
    if (!stored)
        return;
    // The box never stays empty or out of range: it shows what was stored at once.
    const QString shown = QString::number(*stored);
    if (box->text() != shown) {
        protocol::UpdatingGuard quiet(this);
        box->setText(shown);
    }
}

Level TEnvForm::levelOf(const QObject* watched) const
{
    for (Level level : {Level::Area, Level::Megatrend, Level::Change}) {
        QComboBox* box = levelBox(level);
        if (watched == box || watched == box->lineEdit())
            return level;
    }
    return Level::Area;
}

bool TEnvForm::eventFilter(QObject* watched, QEvent* event)
{
    const bool namingBox = cmbArea && (watched == cmbArea || watched == cmbMega || watched == cmbChange
                                       || watched == cmbArea->lineEdit() || watched == cmbMega->lineEdit()
                                       || watched == cmbChange->lineEdit());
    if (namingBox) {
        const Level level = levelOf(watched);
        QComboBox* box = levelBox(level);
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
            if (isEnter(key, modifiers)) {
                commitTypedText(level);
                return true;
            }
            if (key->key() == Qt::Key_Delete && modifiers == Qt::AltModifier) {
                deleteLevelItem(level);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            QWidget* now = QApplication::focusWidget();
            // Opening the box's own list, or a dialog or another program taking the focus, is not
            // leaving the box.
            const bool stays = now && (now == box || box->isAncestorOf(now));
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !stays)
                commitTypedText(level);
        }
        return TWorkshopForm::eventFilter(watched, event);
    }
    QComboBox* typeBox = riskTypeBox();
    if (typeBox && (watched == typeBox || watched == typeBox->lineEdit()) && event->type() == QEvent::FocusIn)
        riskTypeFocusEntered();
    return TWorkshopForm::eventFilter(watched, event);
}
