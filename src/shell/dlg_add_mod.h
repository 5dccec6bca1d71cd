#pragma once

#include "shell/prompts.h"

#include <QDialog>

class QLabel;
class QGroupBox;
class QRadioButton;
class QPushButton;

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

    QRadioButton* rdAdd = nullptr;
    QRadioButton* rdMod = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    // Adding is proposed every time, whatever was chosen the previous time.
    void showEvent(QShowEvent* event) override;

private:
    QLabel* Label1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
};
