#pragma once

#include "shell/prompts.h"

#include <QDialog>

class QRadioButton;

// "Add/Modify Item?": asked when the text typed into a naming combo box matches no entry. One
// instance is created hidden at start-up and shared by every window.
class TDlgAddMod : public QDialog {
    Q_OBJECT
public:
    explicit TDlgAddMod(QWidget* parent = nullptr);

    // Shows the dialog modally. The rename choice can be taken only when modifyAllowed.
    AddModAnswer ask(bool modifyAllowed);

    // The dialog created at start-up; created on first use when nothing registered one.
    static TDlgAddMod& shared();
    static void setShared(TDlgAddMod* dialog);

protected:
    // Adding is proposed every time, whatever was chosen the previous time.
    void showEvent(QShowEvent* event) override;

private:
    QRadioButton* rdAdd = nullptr;
    QRadioButton* rdMod = nullptr;
};
