#include "workshops/vision/future_form.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "shell/help_window.h"
#include "shell/list_grid_adapter.h"
#include "shell/workshop_catalog.h"
#include "widgets/buddy_label.h"
#include "widgets/bullet_text_edit.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/date_format.h"
#include "widgets/date_picker.h"
#include "widgets/edit_state.h"
#include "widgets/layout_scale.h"
#include "widgets/text_convert.h"
#include "workshops/vision/future_ops.h"

namespace {

enum HelpContext {
    kWindowHelp = 20010,
    kOrgDescHelp = 50000,
    kTimeHelp = 50005,
    kVisionHelp = 50010,
    kObjectivesHelp = 50015,
    kTypeBoxHelp = 50020,
    kFactorsHelp = 50025,
};

void registerHelpTopics()
{
    help::registerTopic(kWindowHelp, QStringLiteral("future.html"));
    help::registerTopic(kOrgDescHelp, QStringLiteral("future.html#organization"));
    help::registerTopic(kTimeHelp, QStringLiteral("future.html#period"));
    help::registerTopic(kVisionHelp, QStringLiteral("future.html#vision"));
    help::registerTopic(kObjectivesHelp, QStringLiteral("future.html#objectives"));
    help::registerTopic(kTypeBoxHelp, QStringLiteral("future.html#types"));
    help::registerTopic(kFactorsHelp, QStringLiteral("future.html#vision"));
}

// A label that names its control, for the keyboard (its accelerator) and for screen readers.
DatePicker* makeDatePicker(const char* name, QWidget* parent)
{
    auto* picker = new DatePicker(parent);
    picker->setObjectName(QLatin1String(name));
    // Planning periods of old cases may start before the picker's default earliest date.
    picker->setMinimumDate(QDate(100, 1, 1));
    return picker;
}

} // namespace

TFutureForm::TFutureForm(QWidget* parent) : TWorkshopForm(workshop_id::Future, parent)
{
    setObjectName(QStringLiteral("TFutureForm"));
    registerHelpTopics();
    help::setHelpContext(this, kWindowHelp);

    edtOrgDesc = new Cp1252PlainTextEdit(this);
    edtOrgDesc->setObjectName(QStringLiteral("edtOrgDesc"));
    edtOrgDesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edtOrgDesc->setTabChangesFocus(true);
    help::setHelpContext(edtOrgDesc, kOrgDescHelp);
    auto* lblOrgDesc = labelFor(tr("&Describe the Organization"), edtOrgDesc, this);

    auto* grpTime = new QGroupBox(tr("&Time Period"), this);
    grpTime->setObjectName(QStringLiteral("grpTime"));
    help::setHelpContext(grpTime, kTimeHelp);
    edtDate1 = makeDatePicker("edtDate1", grpTime);
    edtDate1->setAccessibleName(tr("Time Period"));
    edtDate2 = makeDatePicker("edtDate2", grpTime);
    auto* lblTo = labelFor(tr("to"), edtDate2, grpTime);
    auto* timeLayout = new QHBoxLayout(grpTime);
    timeLayout->addWidget(edtDate1, 1);
    timeLayout->addWidget(lblTo);
    timeLayout->addWidget(edtDate2, 1);

    edtVision = new BulletTextEdit(this);
    edtVision->setObjectName(QStringLiteral("edtVision"));
    help::setHelpContext(edtVision, kVisionHelp);
    auto* lblVision = labelFor(tr("V&ision/Mission"), edtVision, this);

    buildGrid();
    auto* lblKeyObj = labelFor(tr("&Key Objectives"), grdKeyObj, this);

    edtFactors = new BulletTextEdit(this);
    edtFactors->setObjectName(QStringLiteral("edtFactors"));
    help::setHelpContext(edtFactors, kFactorsHelp);
    auto* lblFactors = labelFor(tr("&Strategic Success Factors"), edtFactors, this);

    // Two columns as wide as the described 306 and 390 pixels; the objectives grid is as high as
    // the organisation text and the time period together.
    auto* layout = new QGridLayout(this);
    layout->addWidget(lblOrgDesc, 0, 0);
    layout->addWidget(edtOrgDesc, 1, 0);
    layout->addWidget(grpTime, 2, 0);
    layout->addWidget(lblVision, 3, 0);
    layout->addWidget(edtVision, 4, 0);
    layout->addWidget(lblKeyObj, 0, 1);
    layout->addWidget(grdKeyObj, 1, 1, 2, 1);
    layout->addWidget(lblFactors, 3, 1);
    layout->addWidget(edtFactors, 4, 1);
    layout->setColumnStretch(0, 306);
    layout->setColumnStretch(1, 390);
    layout->setRowStretch(1, 110);
    layout->setRowStretch(4, 129);
    edtOrgDesc->setMinimumHeight(scaledPixels(this, 60));
    edtVision->setMinimumHeight(scaledPixels(this, 60));
    edtFactors->setMinimumHeight(scaledPixels(this, 60));

    setTabOrder(edtOrgDesc, edtDate1);
    setTabOrder(edtDate1, edtDate2);
    setTabOrder(edtDate2, edtVision);
    setTabOrder(edtVision, grdKeyObj);
    setTabOrder(grdKeyObj, edtFactors);

    connect(edtOrgDesc, &QPlainTextEdit::textChanged, this, &TFutureForm::textEdited);
    connect(edtVision, &QTextEdit::textChanged, this, &TFutureForm::textEdited);
    connect(edtFactors, &QTextEdit::textChanged, this, &TFutureForm::textEdited);
    for (QDateEdit* picker : {edtDate1, edtDate2}) {
        connect(picker, &QDateEdit::dateChanged, this, &TFutureForm::datesEdited);
        connect(picker, &QDateEdit::editingFinished, this, &TFutureForm::datesEdited);
    }

    resize(scaledSize(this, 735, 407));
}

void TFutureForm::buildGrid()
{
    using namespace future;
    grdKeyObj = new TAdvancedGrid(this);
    grdKeyObj->setObjectName(QStringLiteral("grdKeyObj"));
    help::setHelpContext(grdKeyObj, kObjectivesHelp);
    grdKeyObj->setColumnWidths({scaledPixels(this, 188), scaledPixels(this, 41), scaledPixels(this, 64)});
    grdKeyObj->setDefaultRowHeight(scaledPixels(this, 21));
    grdKeyObj->setColumnSizing(true);
    grdKeyObj->setEditingEnabled(true);
    grdKeyObj->setRowCount(2);

    grdKeyObj->setEditMaskFunction([](int col, int) {
        return col == ColImportance ? QStringLiteral("99;0; ") : QString();
    });
    ListGridAdapter::Hooks hooks;
    hooks.committed = [this](CellCommit result, int, int) { cellCommitted(result == CellCommit::Added); };
    hooks.sorted = [this](int) { sendRefresh(); };
    hooks.beforeDelete = [this] { storeFields(); };
    hooks.deleted = [this] { sendRefresh(); };
    objectives_ = new ListGridAdapter(this, grdKeyObj, objectiveGrid(), std::move(hooks));
    grdKeyObj->setOnGetCellValues([this](int col, int) -> QVariant {
        if (col != ColType || !caseForm())
            return {};
        QStringList types;
        for (const std::string& type : data().ObjectiveTypes)
            types << toQt(type);
        return types;
    });
    grdKeyObj->setOnInitControl([this](int col, int row, QWidget* control, TControlHandlers& handlers) {
        return initTypeBox(col, row, control, handlers);
    });

    connect(grdKeyObj, &WorkshopGrid::cellPressed, this, [this] { synchroniseTypeBox(); });
}

QComboBox* TFutureForm::typeBox() const
{
    return qobject_cast<QComboBox*>(grdKeyObj->control());
}

int TFutureForm::currentObjective() const
{
    return objectives_->entryAt(grdKeyObj->currentRow());
}

void TFutureForm::storeFields()
{
    CaseEdit direct(data());
    storeFields(direct);
}

void TFutureForm::storeFields(CaseEdit& edit)
{
    TCaseData& model = data();
    edit.assign(model.OrgDescription, shownModelText(model.OrgDescription, edtOrgDesc->plainText()));
    edit.assign(model.VisionMission, shownModelText(model.VisionMission, edtVision->plainText()));
    edit.assign(model.SuccessFactors, shownModelText(model.SuccessFactors, edtFactors->plainText()));
    // A picker still showing what it was filled with holds nothing new; this keeps a stored date
    // the picker could not show (from a damaged file) as it is.
    const double from = edtDate1->date() == shownFrom_ ? model.DateFrom : fromQDate(edtDate1->date());
    const double to = edtDate2->date() == shownTo_ ? model.DateTo : fromQDate(edtDate2->date());
    future::storePlanningPeriod(edit, from, to);
}

void TFutureForm::wmCommit()
{
    if (!caseForm())
        return;
    storeFields();
    // Saving or closing right after typing into a cell keeps what was typed.
    grdKeyObj->commitPendingEdit();
}

void TFutureForm::wmRefresh()
{
    if (!caseForm())
        return;
    const TCaseData& model = data();
    const QString orgDesc = toQt(model.OrgDescription);
    if (edtOrgDesc->plainText() != orgDesc)
        edtOrgDesc->setPlainText(orgDesc);
    edtVision->setPlainText(toQt(model.VisionMission));
    edtFactors->setPlainText(toQt(model.SuccessFactors));

    for (auto [picker, date, shown] : {std::tuple{edtDate1, model.DateFrom, &shownFrom_},
                                       std::tuple{edtDate2, model.DateTo, &shownTo_}}) {
        const QDate value = toQDate(date);
        if (value.isValid())
            picker->setDate(value);
        *shown = picker->date();
    }
    refreshGrid();
}

void TFutureForm::refreshGrid()
{
    const int objectives = data().KeyObjectives.Count();
    grdKeyObj->setRowCount(objectives + 2);
    for (int row = 1; row <= objectives; ++row)
        markTypeCell(row);
    grdKeyObj->refresh();
    synchroniseTypeBox();
    grdKeyObj->fitRowHeights();
}

void TFutureForm::markTypeCell(int row)
{
    grdKeyObj->SetCellControl(future::ColType, row, cckComboBox);
}

void TFutureForm::textEdited()
{
    if (!canEdit())
        return;
    const TCaseData& model = data();
    const bool changes = shownTextDiffers(model.OrgDescription, edtOrgDesc->plainText())
        || shownTextDiffers(model.VisionMission, edtVision->plainText())
        || shownTextDiffers(model.SuccessFactors, edtFactors->plainText());
    if (edit().beginFieldsIf(changes))
        storeFields(edit());
}

void TFutureForm::datesEdited()
{
    if (!canEdit())
        return;
    const TCaseData& model = data();
    const double from = edtDate1->date() == shownFrom_ ? model.DateFrom : fromQDate(edtDate1->date());
    const double to = edtDate2->date() == shownTo_ ? model.DateTo : fromQDate(edtDate2->date());
    future::editPlanningPeriod(edit(), from, to);
    shownFrom_ = edtDate1->date();
    shownTo_ = edtDate2->date();
}

void TFutureForm::cellCommitted(bool added)
{
    if (added)
        grdKeyObj->setRowCount(objectives_->rowCount());
    // The row just added gets its type box. A row that has one keeps it: marking the current cell
    // again would make the box anew and drop what is being typed into it.
    if (const int last = grdKeyObj->rowCount() - 2; grdKeyObj->CellControl(future::ColType, last) != cckComboBox)
        markTypeCell(last);
    grdKeyObj->fitRowHeights();
}

QWidget* TFutureForm::initTypeBox(int, int, QWidget* control, TControlHandlers& handlers)
{
    auto* box = qobject_cast<QComboBox*>(control);
    if (!box)
        return control;
    box->setObjectName(QStringLiteral("typeBox"));
    box->setAccessibleName(tr("Type"));
    help::setHelpContext(box, kTypeBoxHelp);
    connect(box, &QComboBox::activated, this, &TFutureForm::typeChosen);
    box->installEventFilter(this);
    handlers.keyDown = [this](QKeyEvent* event) { return typeBoxKeyDown(event); };
    // Leaving the box commits what was typed, as Enter does.
    handlers.exit = [this] {
        if (closing_)
            synchroniseTypeBox();
        else
            commitTypedType();
    };
    return control;
}

bool TFutureForm::eventFilter(QObject* watched, QEvent* event)
{
    // The grid fills the box with the cell's text; once shown, it selects the objective's type.
    if (QComboBox* box = typeBox(); event->type() == QEvent::Show && watched == box) {
        // The cell is narrow; the list is as wide as its longest type.
        int widest = 0;
        for (int k = 0; k < box->count(); ++k)
            widest = std::max(widest, box->fontMetrics().horizontalAdvance(box->itemText(k)));
        box->view()->setMinimumWidth(widest + scaledPixels(this, 24));
        synchroniseTypeBox();
    }
    return TWorkshopForm::eventFilter(watched, event);
}

void TFutureForm::typeChosen(int index)
{
    const int objective = currentObjective();
    if (!canEdit() || objective < 0)
        return;
    future::chooseObjectiveType(edit(), objective, index);
    lastChosenType_ = index;
    grdKeyObj->refreshRows(objective + 1, objective + 1);
    grdKeyObj->fitRowHeights();
}

bool TFutureForm::typeBoxKeyDown(QKeyEvent* event)
{
    QComboBox* box = typeBox();
    const int objective = currentObjective();
    if (!box || objective < 0 || !canEdit())
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        commitTypedType();
        return false; // the grid takes the focus back
    }
    if (event->key() == Qt::Key_Delete && modifiers == Qt::AltModifier) {
        const int type = box->currentIndex();
        box->hidePopup();
        if (type >= 0) {
            storeFields();
            if (future::deleteObjectiveType(edit(), questions(), type))
                sendRefresh();
        }
        return true;
    }
    return false;
}

void TFutureForm::commitTypedType()
{
    QComboBox* box = typeBox();
    const int objective = currentObjective();
    if (!box || objective < 0 || !canEdit())
        return;
    // Taken before the question: the box may be renewed while the question is open.
    const std::string typed = toModel(box->currentText());
    const auto result = future::commitTypedType(edit(), questions(), objective, typed, lastChosenType_);
    if (result.listChanged)
        renewTypeBox();
    else
        synchroniseTypeBox();
    grdKeyObj->refresh();
    grdKeyObj->fitRowHeights();
}

void TFutureForm::closeEvent(QCloseEvent* event)
{
    closing_ = true;
    TWorkshopForm::closeEvent(event);
}

void TFutureForm::wmCaseClosed(TCaseForm* closing)
{
    if (closing == caseForm())
        closing_ = true;
    TWorkshopForm::wmCaseClosed(closing);
}

void TFutureForm::commitTypedNameToCopy()
{
    const QComboBox* box = typeBox();
    const QWidget* focused = QApplication::focusWidget();
    const int objective = currentObjective();
    if (box && focused && (focused == box || box->isAncestorOf(focused)) && objective >= 0)
        future::commitTypedType(edit(), questions(), objective, toModel(box->currentText()), lastChosenType_);
}

void TFutureForm::synchroniseTypeBox()
{
    QComboBox* box = typeBox();
    const int objective = currentObjective();
    if (!box || !box->isVisible() || objective < 0 || grdKeyObj->currentColumn() != future::ColType)
        return;
    int selected = -1;
    if (canEdit()) {
        selected = future::synchroniseObjectiveType(edit(), objective);
    } else {
        const int link = data().KeyObjectives[objective].Link;
        selected = link >= 0 && link < static_cast<int>(data().ObjectiveTypes.size()) ? link : -1;
    }
    {
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(selected);
        if (selected < 0)
            box->setEditText(QString());
    }
    if (QLineEdit* line = box->lineEdit())
        line->selectAll();
    lastChosenType_ = selected;
}

void TFutureForm::renewTypeBox()
{
    // The grid makes the box anew, filled from the changed type list; showing it synchronises it.
    grdKeyObj->ShowControl(grdKeyObj->currentColumn(), grdKeyObj->currentRow());
}
