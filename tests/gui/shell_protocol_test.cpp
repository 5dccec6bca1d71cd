// The workshop window protocol: one window per workshop per case, found again instead of
// duplicated, captions, refresh on activation, and workshops that end with their case.

#include "shell_session.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "shell/main_form.h"
#include "shell_test_workshop.h"
#include "shell/protocol_state.h"
#include "shell/workshop_catalog.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records the order in which broadcasts reach it and whether the updating switch was on.
class RecordingWorkshop : public TWorkshopForm {
public:
    RecordingWorkshop(int identifier, QStringList& log) : TWorkshopForm(identifier), log_(log) {}
    void wmCommit() override { log_.append(QStringLiteral("commit %1").arg(identifier())); }
    void wmRefresh() override
    {
        log_.append(QStringLiteral("refresh %1 updating=%2").arg(identifier()).arg(protocol::updating(this)));
    }

private:
    QStringList& log_;
};

QList<TWorkshopForm*> workshopsOf(const TMainForm& main, const TCaseForm* owner)
{
    QList<TWorkshopForm*> found;
    for (TChildForm* child : main.childForms())
        if (auto* workshop = qobject_cast<TWorkshopForm*>(child); workshop && workshop->caseForm() == owner)
            found.append(workshop);
    return found;
}

} // namespace

class ProtocolTest : public QObject, private ShellSession {
    Q_OBJECT

private slots:
    void init()
    {
        openShell();
        main->show();
    }

    void cleanup() { closeShell(); }

    void askingTwiceBringsTheSameWindowToTheFront()
    {
        main->New();
        TWorkshopForm* first = main->OpenWorkshop(workshop_id::Future);
        TWorkshopForm* other = main->OpenWorkshop(workshop_id::Environment);
        QVERIFY(first && other && first != other);
        QCOMPARE(main->mdiArea()->currentSubWindow(), other->subWindow());

        TWorkshopForm* again = main->OpenWorkshop(workshop_id::Future);
        QCOMPARE(again, first);
        QCOMPARE(main->mdiArea()->currentSubWindow(), first->subWindow());
        QCOMPARE(main->childForms().size(), 3);
        QCOMPARE(first->subWindow()->windowTitle(), QStringLiteral("untitled - Picture Your Future"));
    }

    void customersAndProductsAreTwoWindows()
    {
        main->New();
        TWorkshopForm* customers = main->OpenWorkshop(workshop_id::Customers);
        TWorkshopForm* products = main->OpenWorkshop(workshop_id::Products);
        QVERIFY(customers != products);
        QCOMPARE(customers->caption(), QStringLiteral("untitled - Envision Your Customers"));
        QCOMPARE(products->caption(), QStringLiteral("untitled - Design Your Services/Products"));
    }

    void workshopCaptionsUseTheirWords()
    {
        main->New();
        for (const auto& entry : workshopCatalog()) {
            TWorkshopForm* workshop = main->OpenWorkshop(entry.identifier);
            QCOMPARE(workshop->identifier(), entry.identifier);
            QCOMPARE(workshop->subWindow()->windowTitle(),
                     QStringLiteral("untitled - ") + QString::fromLatin1(entry.captionWord));
        }
        QCOMPARE(findWorkshop(workshop_id::Alliances)->captionWord, "Plan Your Alliances/Investment");
    }

    void eachCaseGetsItsOwnWorkshopWindow()
    {
        TCaseForm* first = main->New();
        TWorkshopForm* firstFuture = main->OpenWorkshop(workshop_id::Future);
        TCaseForm* second = main->New();
        // The second case's window is active: the request is for the second case only.
        TWorkshopForm* secondFuture = main->OpenWorkshop(workshop_id::Future);
        QVERIFY(firstFuture != secondFuture);
        QCOMPARE(firstFuture->caseForm(), first);
        QCOMPARE(secondFuture->caseForm(), second);

        // With a workshop window of the second case active, the current case is the second one.
        QCOMPARE(main->currentCase(), second);
        QCOMPARE(main->OpenWorkshop(workshop_id::Future), secondFuture);

        main->mdiArea()->setActiveSubWindow(firstFuture->subWindow());
        QCOMPARE(main->currentCase(), first);
        QCOMPARE(main->OpenWorkshop(workshop_id::Future), firstFuture);
        QCOMPARE(workshopsOf(*main, first).size(), 1);
        QCOMPARE(workshopsOf(*main, second).size(), 1);
    }

    void closingACaseClosesOnlyItsWorkshops()
    {
        TCaseForm* first = main->New();
        main->OpenWorkshop(workshop_id::Future);
        main->OpenWorkshop(workshop_id::ActionPage);
        TCaseForm* second = main->New();
        QPointer<TWorkshopForm> kept = main->OpenWorkshop(workshop_id::Future);

        QList<QPointer<TWorkshopForm>> doomed;
        for (TWorkshopForm* workshop : workshopsOf(*main, first))
            doomed.append(workshop);
        QCOMPARE(doomed.size(), 2);

        first->data().Modified = false;
        QVERIFY(first->subWindow()->close());
        for (const auto& workshop : doomed)
            QVERIFY(workshop.isNull());
        QVERIFY(!kept.isNull());
        QTRY_COMPARE(main->caseForms(), QList<TCaseForm*>{second});
        QCOMPARE(main->childForms().size(), 2);
    }

    void closingACaseCommitsEveryWindowFirst()
    {
        TCaseForm* first = main->New();
        auto* workshop = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Competitors));
        QVERIFY(workshop);
        main->New();
        auto* otherCase = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Competitors));
        const int before = otherCase->commitCount();
        first->data().Modified = false;
        first->subWindow()->close();
        // The question commits everything, and the closing broadcast commits again.
        QVERIFY(otherCase->commitCount() >= before + 2);
    }

    void closingAWorkshopCommitsIt()
    {
        main->New();
        auto* workshop = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Future));
        QPointer<QMdiSubWindow> frame = workshop->subWindow();
        const int before = workshop->commitCount();
        QVERIFY(frame->close());
        QCOMPARE(workshop->commitCount(), before + 1);
        // Until the closed frame is deleted, asking for the workshop again opens a new window
        // rather than handing back the closing one.
        TWorkshopForm* reopened = main->OpenWorkshop(workshop_id::Future);
        QVERIFY(reopened && reopened != workshop);
        QVERIFY(reopened->subWindow()->isVisible());
        QCOMPARE(main->currentCase()->workshopWindows(), QList<TWorkshopForm*>{reopened});
        QTRY_VERIFY(frame.isNull());
        QCOMPARE(main->childForms().size(), 2);
    }

    void broadcastsRunFromTheLastChildToTheFirst()
    {
        TCaseForm* owner = main->New();
        QStringList log;
        for (int identifier : {workshop_id::Future, workshop_id::Competitors}) {
            auto* workshop = new RecordingWorkshop(identifier, log);
            auto* frame = main->mdiArea()->addSubWindow(workshop);
            workshop->Init(owner);
            frame->show();
        }
        log.clear();
        main->broadcastCommit();
        QCOMPARE(log, (QStringList{QStringLiteral("commit 52"), QStringLiteral("commit 18")}));
        log.clear();
        main->broadcastRefresh();
        QCOMPARE(log, (QStringList{QStringLiteral("refresh 52 updating=1"), QStringLiteral("refresh 18 updating=1")}));
        for (TChildForm* child : main->childForms())
            QVERIFY(!protocol::updating(child));
    }

    // A window filling its controls silences its own handlers, not those of the windows beside it.
    void eachWindowHasItsOwnUpdatingSwitch()
    {
        main->New();
        TWorkshopForm* filling = main->OpenWorkshop(workshop_id::Competitors);
        TWorkshopForm* beside = main->OpenWorkshop(workshop_id::ActionPage);
        const protocol::UpdatingGuard guard(filling);
        QVERIFY(!filling->canEdit());
        QVERIFY(beside->canEdit());
        QVERIFY(!protocol::updating(main->caseForms().constFirst()));
    }

    // The case's document says once, after the handler is done, that the case changed: for
    // typing, Undo and Redo, never for autosave's copy.
    void theCaseDocumentSignalsOnceAfterChanges()
    {
        TCaseForm* owner = main->New();
        QSignalSpy changed(&owner->document(), &CaseDocument::changed);
        titleField(owner)->setFocus();
        QTest::keyClicks(titleField(owner), QStringLiteral("abc"));
        QCOMPARE(changed.count(), 0);
        QTRY_COMPARE(changed.count(), 1);
        main->Undo();
        QTRY_COMPARE(changed.count(), 2);
        QCOMPARE(owner->data().Title, "ab");
        main->Redo();
        QTRY_COMPARE(changed.count(), 3);
        {
            TCaseData copy;
            copy.Assign(owner->data());
            const CaseDocument::CopyScope intoCopy(owner->document(), copy);
            QVERIFY(owner->edit().set(copy.Title, "copy"));
        }
        QTest::qWait(50);
        QCOMPARE(changed.count(), 3);
        QCOMPARE(owner->data().Title, "abc");
    }

    void activatingAWorkshopShowsChangesMadeElsewhere()
    {
        TCaseForm* owner = main->New();
        auto* competitors = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Competitors));
        auto* actions = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::ActionPage));
        owner->data().Title = "Changed elsewhere";
        const int before = competitors->refreshCount();
        main->mdiArea()->setActiveSubWindow(competitors->subWindow());
        QCOMPARE(competitors->refreshCount(), before + 1);
        QCOMPARE(competitors->caseTitle()->text(), QStringLiteral("Changed elsewhere"));

        // Activating the same window again (the program regaining the focus) does not reload it.
        main->mdiArea()->setActiveSubWindow(competitors->subWindow());
        QCOMPARE(competitors->refreshCount(), before + 1);
        Q_UNUSED(actions);
    }

    // Picture Your Future keeps what its fields hold while the user looks elsewhere: the base
    // exempts it from the reload on activation, whatever its window does.
    void pictureYourFutureIsNotReloadedOnActivation()
    {
        main->New();
        auto* future = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Future));
        main->OpenWorkshop(workshop_id::ActionPage);
        const int before = future->refreshCount();
        main->mdiArea()->setActiveSubWindow(future->subWindow());
        QCOMPARE(main->activeChild(), static_cast<TChildForm*>(future));
        QCOMPARE(future->refreshCount(), before);
    }

    void saveAsRetitlesOnlyThatCase()
    {
        TCaseForm* first = main->New();
        TWorkshopForm* firstWorkshop = main->OpenWorkshop(workshop_id::BusinessPlan);
        main->New();
        TWorkshopForm* secondWorkshop = main->OpenWorkshop(workshop_id::BusinessPlan);
        const QString path = dir->filePath(QStringLiteral("renamed.cvx"));
        prompts->savePaths.push_back(path);
        QVERIFY(main->saveCaseAs(*first));
        QCOMPARE(firstWorkshop->subWindow()->windowTitle(), path + QStringLiteral(" - Business Plan"));
        QCOMPARE(secondWorkshop->subWindow()->windowTitle(), QStringLiteral("untitled - Business Plan"));
    }

    void workshopMenuAndButtonsOpenTheirWorkshops()
    {
        main->New();
        const auto& a = main->actions();
        QCOMPARE(a.workshopItems.size(), 10);
        a.workshopButtons[5]->trigger(); // Ws7Btn: Build Your Capabilities
        auto* active = qobject_cast<TWorkshopForm*>(main->activeChild());
        QVERIFY(active);
        QCOMPARE(active->identifier(), workshop_id::Capabilities);
        QCOMPARE(a.workshopButtons[5]->objectName(), QStringLiteral("Ws7Btn"));
        a.workshopItems[9]->trigger();
        active = qobject_cast<TWorkshopForm*>(main->activeChild());
        QCOMPARE(active->identifier(), workshop_id::ActionPage);
        QCOMPARE(a.workshopItems[9]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
        QCOMPARE(a.workshopItems[1]->statusTip(), QStringLiteral("Opens the  Workshop: Describe the Environment"));
    }

    void windowMenuListsTheOpenWindows()
    {
        main->New();
        main->OpenWorkshop(workshop_id::Future);
        emit main->windowMenu()->aboutToShow();
        QStringList texts;
        for (QAction* item : main->windowMenu()->actions())
            if (!item->isSeparator())
                texts.append(item->text());
        QCOMPARE(texts, (QStringList{QStringLiteral("&Cascade"), QStringLiteral("&Tile"), QStringLiteral("C&lose Window"),
                                     QStringLiteral("&1 untitled - Case"),
                                     QStringLiteral("&2 untitled - Picture Your Future")}));
    }

    void windowsCycleAndCloseFromTheKeyboard()
    {
        main->resize(1200, 800);
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        TCaseForm* owner = main->New();
        titleField(owner)->setFocus();
        QTest::keyClicks(titleField(owner), QStringLiteral("x"));
        TWorkshopForm* workshop = main->OpenWorkshop(workshop_id::Future);
        QPointer<QMdiSubWindow> workshopFrame = workshop->subWindow();
        const auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers) {
            QWidget* focused = QApplication::focusWidget();
            QTest::keyClick(focused ? focused : main.get(), key, modifiers);
        };

        main->actions().windowTile->trigger();
        QVERIFY(!owner->subWindow()->geometry().intersects(workshopFrame->geometry()));

        press(Qt::Key_Tab, Qt::ControlModifier);
        QTRY_COMPARE(main->activeChild(), owner);
        press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(main->activeChild(), workshop);

        // As the close box: the workshop goes, and the changed case asks first.
        press(Qt::Key_F4, Qt::ControlModifier);
        QTRY_VERIFY(workshopFrame.isNull());
        QCOMPARE(main->activeChild(), owner);
        prompts->saveAnswers = {SaveChangesAnswer::Cancel, SaveChangesAnswer::No};
        press(Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(prompts->questions.size(), 1);
        QCOMPARE(main->childForms().size(), 1);
        press(Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(prompts->questions.size(), 2);
        QTRY_VERIFY(main->childForms().isEmpty());
        QVERIFY(!main->actions().windowCloseActive->isEnabled());
    }

private:
};

QTEST_MAIN(ProtocolTest)
#include "shell_protocol_test.moc"
