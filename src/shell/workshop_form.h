#pragma once

#include "shell/child_form.h"

struct TCaseData;

// Base of every workshop window. A workshop window belongs to exactly one case window, edits that
// case's TCaseData in place and owns none of it; there is at most one per workshop per case.
//
// A subclass builds its controls in its constructor and overrides wmCommit (edit fields into the
// model) and wmRefresh (model into the controls). Every handler that changes the model starts with
//     if (!beginEdit()) return;
// which does nothing while the updating switch is on and otherwise takes the undo snapshot and sets
// Modified, in that order, before the handler changes the model.
class TWorkshopForm : public TChildForm {
    Q_OBJECT
public:
    // `identifier` is the workshop's (see workshop_catalog.h); the window stays hidden until shown.
    explicit TWorkshopForm(int identifier, QWidget* parent = nullptr);

    // Attaches the window to its case (once), sets the caption and refreshes it from the model.
    void Init(TCaseForm* caseForm);

    int identifier() const { return identifier_; }
    TCaseForm* caseForm() const override { return case_; }
    TCaseData& data() const;

    // The edit rule: false while the updating switch is on; otherwise takes an undo snapshot of the
    // case, sets Modified and returns true.
    bool beginEdit();
    void SaveUndoState();
    void SetModified();

    // Called each time the window becomes the active child. Refreshes by default; a workshop that
    // must not (or that rebuilds its own views instead) overrides it.
    virtual void activated();

    QString captionWord() const override;
    int helpContext() const override;
    QString helpPage() const override;

    // Commits; the window of `closing` then destroys itself at once, so an override that extends
    // this must call it last.
    void wmCaseClosed(TCaseForm* closing) override;
    void wmShowWorkshop(TCaseForm* caseForm, int identifier) override;

    // Commits and destroys the window immediately; nothing of it may be used afterwards.
    void destroyWindow();

protected:
    // Closing the window by its close box commits its fields first.
    void closeEvent(QCloseEvent* event) override;

private:
    int identifier_;
    TCaseForm* case_ = nullptr;
};
