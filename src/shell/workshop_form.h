#pragma once

#include "shell/child_form.h"

#include <QPointer>

#include <string>

class CaseEdit;
class Questions;
struct TCaseData;

// Base of every workshop window. A workshop window belongs to exactly one case window, edits that
// case's TCaseData in place and owns none of it; there is at most one per workshop per case.
//
// A subclass builds its controls in its constructor and overrides wmCommit (edit fields into the
// model) and wmRefresh (model into the controls). Its handlers hand what the user did to the
// workshop's model operations, together with edit() and questions(), and do nothing while
// !canEdit() (the window is filling its own controls): the operations take the undo step and set
// Modified through edit().
class TWorkshopForm : public TChildForm {
    Q_OBJECT
public:
    // `identifier` is the workshop's (see workshop_catalog.h); the window stays hidden until shown.
    explicit TWorkshopForm(int identifier, QWidget* parent = nullptr);

    // Attaches the window to its case (once), which then knows it, sets the caption and refreshes
    // it from the model.
    void Init(TCaseForm* caseForm);

    int identifier() const { return identifier_; }
    TCaseForm* caseForm() const override;
    TCaseData& data() const;
    // The case's edit chokepoint and the questions the operations may ask.
    CaseEdit& edit() const;
    Questions& questions() const;

    // False while the updating switch is on (the window fills its own controls) or before Init.
    bool canEdit() const;

    // Called each time the window becomes the active child. Every workshop but Picture Your Future
    // then runs activationRefresh(); the exception is the catalog's, not the window's to forget.
    void activated();
    // The case changed while another window was active: reloads the window (followCaseChanges)
    // (which keeps the window's current cells, choices and scroll positions), unless it shows the
    // case as it is already or is a window that activation leaves alone.
    void showCaseChanges();

    QString captionWord() const override;
    int helpContext() const override;
    QString helpPage() const override;

    // Autosave's copy of the case takes a name typed into this window's focused naming box and not
    // yet committed, as the add-or-rename question's Add would commit it. Autosave calls this with
    // data() and edit() leading to its copy and the questions answered without asking; the window
    // commits through its model operations and changes none of its controls. A window without
    // naming boxes has nothing to add.
    virtual void commitTypedNameToCopy() {}

    // Commits; the window of `closing` then destroys itself at once, so an override that extends
    // this must call it last.
    void wmCaseClosed(TCaseForm* closing) override;
    // Asked for again (its case found it): makes itself visible and brings itself to the front.
    void wmShowWorkshop();

    // Commits and destroys the window immediately; nothing of it may be used afterwards.
    void destroyWindow();

protected:
    // Reloads the window on activation; a workshop that rebuilds its own views instead overrides it.
    virtual void activationRefresh();
    // Reloads the window for a change made in another window while this one stays in view; as
    // activation does, unless the window keeps more of its place than activation would.
    virtual void followCaseChanges() { activationRefresh(); }
    // Closing the window by its close box commits its fields first; the case then no longer counts
    // it among its windows.
    void closeEvent(QCloseEvent* event) override;

private:
    bool refreshesOnActivation() const;

    int identifier_;
    // The case window outlives its workshop windows, but a guarded pointer costs nothing and turns a
    // late message into a no-op instead of a use of freed memory.
    QPointer<TCaseForm> case_;
};
