// Text typed into a grid cell and not yet committed (the cell editor still open) belongs in
// autosave's recovery copy, in every workshop: the copy must hold exactly what leaving the cell
// will put into the case. Taking it must leave the case, its Modified flag, its undo stack and the
// open editor as they were, so that the user types on undisturbed and the text reaches the case
// once, when the cell is left. Tried on every editable cell of the new-entry row and the first row
// of every grid of the example case. A name typed into a naming box goes into the copy as the
// add-or-rename question's Add would put it, without asking.

#include "workshop_session.h"

#include "cli/case_from_json.h"
#include "cli/json_text.h"
#include "model/case_file.h"
#include "shell/autosave.h"
#include "shell/case_form.h"
#include "shell/protocol_state.h"
#include "widgets/advanced_grid.h"
#include "widgets/workshop_grid.h"
#include "workshops/environment/env_form.h"
#include "workshops/vision/future_form.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTest>

#include <cmath>

class AutosaveOpenEditorTest : public QObject, private WorkshopSession {
    Q_OBJECT

    TAutosave& autosave() { return main->autosave(); }

    int autosaveNow()
    {
        const int started = autosave().saveChangedCases();
        autosave().waitForWrites();
        return started;
    }

    // Types into the cell as a user would and checks the copy that autosave takes meanwhile.
    // Returns false when the cell takes no typing.
    bool tryCell(TWorkshopForm* window, WorkshopGrid* grid, int col, int row)
    {
        TCaseForm* owner = window->caseForm();
        grid->setFocus();
        if (!grid->setCurrentCell(col, row))
            return false;
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor || !grid->isEditorOpen())
            return false;
        QTest::keyClicks(editor, QStringLiteral("7"));
        if (!protocol::pendingCellEdit(grid).pending()) {
            QTest::keyClick(editor, Qt::Key_Escape);
            return false;
        }
        const QString where = QStringLiteral("%1, page %2, column %3, row %4")
                                  .arg(grid->objectName())
                                  .arg(window->findChild<QTabWidget*>() ? window->findChild<QTabWidget*>()->currentIndex() : 0)
                                  .arg(col)
                                  .arg(row);
        const std::string before = encodeCase(owner->data());
        const bool modified = owner->data().Modified;
        const int steps = owner->undoCount();
        const int rows = grid->rowCount();
        const QString typed = editor->text();
        const PendingCellEdit pending = protocol::pendingCellEdit(grid);

        [&] {
            // A cell whose commit would change nothing calls for no copy of an unchanged case.
            const bool copied = autosaveNow() == 1;
            QCOMPARE(autosaveNow(), 0); // nothing new since
            QCOMPARE(encodeCase(owner->data()), before);
            QCOMPARE(owner->data().Modified, modified);
            QCOMPARE(owner->undoCount(), steps);
            QVERIFY(grid->isEditorOpen());
            QCOMPARE(QApplication::focusWidget(), editor);
            QCOMPARE(editor->text(), typed);
            QCOMPARE(grid->rowCount(), rows);
            QCOMPARE(protocol::pendingCellEdit(grid).text, pending.text);
            QCOMPARE(protocol::pendingCellEdit(grid).row, pending.row);

            TCaseData copy;
            QVERIFY(!copied || !loadCaseFile(QFile::encodeName(autosave().copyPathOf(*owner)).toStdString(), copy));
            QTest::keyClick(editor, Qt::Key_Return);
            const TCaseData& committed = owner->data();
            // A new action is due the moment it is made, and the copy's was made a moment earlier.
            for (int i = 0; i < copy.Actions.Count() && i < committed.Actions.Count(); ++i)
                if (std::abs(copy.Actions[i].Due - committed.Actions[i].Due) < 1.0 / 24 / 60)
                    copy.Actions[i].Due = committed.Actions[i].Due;
            QCOMPARE(copied ? encodeCase(copy) : before, encodeCase(committed));
        }();
        if (QTest::currentTestFailed())
            qWarning("at %s", qPrintable(where));
        if (owner->undoCount() > steps) {
            main->mdiArea()->setActiveSubWindow(window->subWindow());
            main->Undo();
        }
        return true;
    }

    // The example case as opened from its file.
    TCaseForm* openExample()
    {
        QFile example(QStringLiteral(CORVANTIX_EXAMPLE_JSON));
        if (!example.open(QIODevice::ReadOnly))
            return nullptr;
        ParsedJson parsed;
        TCaseData demo;
        if (parseJsonStrict(example.readAll().toStdString(), parsed) || caseFromJson(parsed, demo))
            return nullptr;
        const QString path = dir->filePath(QStringLiteral("demo.cvx"));
        if (saveCaseFile(demo, QFile::encodeName(path).toStdString()))
            return nullptr;
        return main->openCaseFile(path);
    }

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
    }

    void cleanup() { closeShell(); }

    void theCopyHoldsWhatLeavingTheCellWillCommit_data()
    {
        QTest::addColumn<int>("workshop");
        for (const WorkshopEntry& entry : workshopCatalog())
            QTest::newRow(entry.menuHint) << entry.identifier;
    }

    void theCopyHoldsWhatLeavingTheCellWillCommit()
    {
        QFETCH(int, workshop);
        // As opened: nothing changed yet, so only the open editor's text calls for a copy.
        QVERIFY(openExample());
        TWorkshopForm* window = main->OpenWorkshop(workshop);
        QVERIFY(window);

        int cells = 0;
        auto* pages = window->findChild<QTabWidget*>();
        for (int page = 0; page < (pages ? pages->count() : 1); ++page) {
            if (pages)
                pages->setCurrentIndex(page);
            for (WorkshopGrid* grid : window->findChildren<WorkshopGrid*>()) {
                if (!grid->isVisible() || !grid->editingEnabled())
                    continue;
                for (int row : {grid->rowCount() - 1, 1})
                    for (int col = 0; row >= 1 && col < grid->columnCount(); ++col) {
                        cells += tryCell(window, grid, col, row) ? 1 : 0;
                        if (QTest::currentTestFailed())
                            return;
                    }
            }
        }
        const bool editableGrids = workshop != workshop_id::Alliances && workshop != workshop_id::MarketGroups;
        QVERIFY(cells > 0 || !editableGrids);
    }

    void aNameTypedIntoANamingBoxGoesIntoTheCopyAsAdded_data()
    {
        QTest::addColumn<bool>("typeBox");
        QTest::newRow("area box") << false;
        QTest::newRow("objective type box in a grid cell") << true;
    }

    void aNameTypedIntoANamingBoxGoesIntoTheCopyAsAdded()
    {
        QFETCH(bool, typeBox);
        TCaseForm* owner = openExample();
        QVERIFY(owner);
        QComboBox* box = nullptr;
        if (typeBox) {
            auto* window = qobject_cast<TFutureForm*>(main->OpenWorkshop(workshop_id::Future));
            QVERIFY(window);
            child<TAdvancedGrid>(window, "grdKeyObj")->setFocus();
            QVERIFY(child<TAdvancedGrid>(window, "grdKeyObj")->setCurrentCell(2, 1));
            // A key on a drop-down cell focuses its box
            QTest::keyClick(child<TAdvancedGrid>(window, "grdKeyObj"), Qt::Key_F2);
            box = window->typeBox();
        } else {
            auto* window = qobject_cast<TEnvForm*>(main->OpenWorkshop(workshop_id::Environment));
            QVERIFY(window);
            box = child<QComboBox>(window, "cmbArea");
        }
        QVERIFY(box);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->lineEdit()->selectAll();
        QTest::keyClicks(box, QStringLiteral("Typed name"));
        const std::string before = encodeCase(owner->data());

        QCOMPARE(autosaveNow(), 1);
        QCOMPARE(autosaveNow(), 0);
        QFile copy(autosave().copyPathOf(*owner));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll().count("Typed name"), 1);
        QCOMPARE(encodeCase(owner->data()), before);
        QVERIFY(!owner->data().Modified);
        QCOMPARE(owner->undoCount(), 0);
        QVERIFY(prompts->addModAsked.isEmpty()); // autosave asks nothing
        QVERIFY(box->hasFocus());
        QCOMPARE(box->currentText(), QStringLiteral("Typed name"));

        // Leaving it as the user would still asks, and Add puts it into the case once.
        prompts->addModAnswers = {AddModAnswer::Add};
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(prompts->addModAsked.size(), 1);
        QCOMPARE(QByteArray::fromStdString(encodeCase(owner->data())).count("Typed name"), 1);
    }
};

QTEST_MAIN(AutosaveOpenEditorTest)
#include "autosave_open_editor_test.moc"
