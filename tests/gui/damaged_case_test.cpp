// A case file can be damaged in ways the reader cannot see: positions pointing past their lists,
// values outside their ranges, key-characteristic lists and plans of different lengths, dates no
// calendar has. Every workshop window must show such a case, let the user walk through it, sort,
// delete and undo, and save what results, without reading or writing outside a list. The cases
// are the example case with numbers replaced and list entries dropped at random; under the
// sanitizer build any access out of bounds fails the test.

#include "workshop_session.h"

#include "cli/case_from_json.h"
#include "cli/json_text.h"
#include "model/case_file.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QPointer>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include <climits>
#include <random>

namespace {

constexpr int kAllWorkshops[] = {
    workshop_id::Future,       workshop_id::Environment,  workshop_id::Competitors, workshop_id::Customers,
    workshop_id::Products,     workshop_id::Capabilities, workshop_id::Alliances,   workshop_id::MarketGroups,
    workshop_id::BusinessPlan, workshop_id::ActionPage,
};

// Positions just outside a list, far outside, and the ends of the stored range.
constexpr long long kDamagedNumbers[] = {-1000000, -7, -2, -1, 0, 11, 101, 5000, INT32_MAX, INT32_MIN};

// Replaces `numberPercent` of the integers and drops `entryPercent` of the list entries.
void damage(OrderedJson& value, std::mt19937& random, int numberPercent, int entryPercent)
{
    std::uniform_int_distribution<int> percent(0, 99);
    if (value.is_number_integer()) {
        if (percent(random) < numberPercent)
            value = kDamagedNumbers[std::uniform_int_distribution<std::size_t>(0, std::size(kDamagedNumbers) - 1)(random)];
    } else if (value.is_array()) {
        if (!value.empty() && percent(random) < entryPercent)
            value.erase(value.begin() + std::uniform_int_distribution<long>(0, long(value.size()) - 1)(random));
        for (auto& element : value)
            damage(element, random, numberPercent, entryPercent);
    } else if (value.is_object()) {
        for (auto& [key, element] : value.items())
            damage(element, random, numberPercent, entryPercent);
    }
}

bool insideAComboBox(const QWidget* widget)
{
    for (const QObject* up = widget->parent(); up; up = up->parent())
        if (qobject_cast<const QComboBox*>(up))
            return true;
    return false;
}

// Moves the current cell over every cell (up to a limit of rows), presses every title and
// Alt+Delete on the second row, as a user trying the window would.
void walkView(QAbstractItemView* view)
{
    QAbstractItemModel* model = view->model();
    if (!model || !view->isEnabled())
        return;
    if (auto* tree = qobject_cast<QTreeView*>(view)) {
        tree->expandAll();
        for (QModelIndex index = model->index(0, 0); index.isValid(); index = tree->indexBelow(index))
            tree->setCurrentIndex(index);
        return;
    }
    const int rows = std::min(model->rowCount(), 40);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < model->columnCount(); ++column) {
            if (!view)
                return;
            view->setCurrentIndex(model->index(row, column));
        }
    if (auto* table = qobject_cast<QTableView*>(view); table && table->horizontalHeader()->isVisible()) {
        QHeaderView* header = table->horizontalHeader();
        for (int section = 0; section < header->count(); ++section)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(section) + 3, header->height() / 2));
    }
    if (view && model->rowCount() > 1) {
        view->setCurrentIndex(model->index(1, 0));
        QTest::keyClick(view, Qt::Key_Delete, Qt::AltModifier);
    }
}

void walkControls(QWidget* window)
{
    QList<QPointer<QAbstractItemView>> views;
    for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>())
        if (!insideAComboBox(view))
            views.append(view);
    for (const QPointer<QAbstractItemView>& view : views)
        if (view)
            walkView(view);
    QList<QPointer<QComboBox>> boxes;
    for (QComboBox* box : window->findChildren<QComboBox*>())
        boxes.append(box);
    for (const QPointer<QComboBox>& box : boxes)
        for (int item = 0; box && box->isEnabled() && item < box->count(); ++item)
            box->setCurrentIndex(item);
    window->grab();
}

// Every page of the window in turn, the controls of each walked and drawn.
void exercise(QWidget* window)
{
    window->grab();
    walkControls(window);
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            walkControls(window);
        }
    for (QStackedWidget* stack : window->findChildren<QStackedWidget*>())
        for (int page = 0; page < stack->count(); ++page) {
            stack->setCurrentIndex(page);
            walkControls(window);
        }
}

} // namespace

class DamagedCaseTest : public QObject, public WorkshopSession {
    Q_OBJECT

private slots:
    void init() { openShell(); }
    void cleanup() { closeShell(); }

    void everyWindowShowsEditsAndSavesADamagedCase_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("numberPercent");
        QTest::addColumn<int>("entryPercent");
        for (unsigned seed = 1; seed <= 5; ++seed) {
            QTest::addRow("light %u", seed) << seed << 30 << 15;
            QTest::addRow("heavy %u", seed) << seed << 75 << 35;
        }
    }
    void everyWindowShowsEditsAndSavesADamagedCase()
    {
        QFETCH(unsigned, seed);
        QFETCH(int, numberPercent);
        QFETCH(int, entryPercent);
        QFile example(QStringLiteral(CORVANTIX_EXAMPLE_JSON));
        QVERIFY(example.open(QIODevice::ReadOnly));
        ParsedJson parsed;
        QVERIFY(!parseJsonStrict(example.readAll().toStdString(), parsed));

        // Every damaged number still fits its field's stored type, so the case can be stored.
        std::mt19937 random(seed);
        damage(parsed.value, random, numberPercent, entryPercent);
        TCaseData damaged;
        QVERIFY(!caseFromJson(parsed, damaged));
        const QString path = dir->filePath(QStringLiteral("damaged.cvx"));
        QVERIFY(!saveCaseFile(damaged, path.toStdString()));

        main->show();
        prompts->yesNoAnswer = true;
        TCaseForm* form = main->openCaseFile(path);
        QVERIFY(form);
        for (int identifier : kAllWorkshops) {
            TWorkshopForm* window = main->OpenWorkshop(identifier);
            QVERIFY2(window, qPrintable(QStringLiteral("workshop %1").arg(identifier)));
            exercise(window);
            main->Undo();
            main->broadcastRefresh();
            exercise(window);
        }
        QVERIFY(prompts->errors.isEmpty());

        // Whatever was done to it, the case still saves and reads back.
        TCaseData reread;
        QVERIFY(!decodeCase(encodeCase(form->data()), reread));
    }
};

QTEST_MAIN(DamagedCaseTest)
#include "damaged_case_test.moc"
