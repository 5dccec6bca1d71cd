#pragma once

// The modal dialog in which customers (or products) are bundled into a group, or a group gets a
// new name and new members. Opened only by TCuPrForm, which hands it the filter in force on the
// page it shows; the dialog's lists and moves are the grouping operations of grouping_ops.h.

#include <QDialog>

#include "workshops/customers/grouping_ops.h"

class CaseEdit;
class QLineEdit;
class QListWidget;
class QPushButton;

class TGroupingForm : public QDialog {
    Q_OBJECT
public:
    // `group` is the group to change, or -1 to build a new one.
    TGroupingForm(CaseEdit& edit, cust_prod::Mode mode, int group, cust_prod::ItemFilter satisfies,
                  QWidget* parent = nullptr);

    // The position of the group created or changed, -1 while none was.
    int storedGroup() const { return stored_; }
    const cust_prod::GroupingLists& lists() const { return lists_; }

private:
    void BitBtn1Click(bool all);
    void BitBtn2Click(bool all);
    void NameEditChange();
    void CreateGroupButtonClick();
    void ModifyButtonClick();

    // The widgets' selections into the lists, and the lists into the widgets.
    void takeSelections();
    void showLists();

    QListWidget* CustListBox = nullptr;
    QListWidget* OthersListBox = nullptr;
    QListWidget* FilteredListBox = nullptr;
    QLineEdit* NameEdit = nullptr;
    QPushButton* CreateGroupButton = nullptr;
    QPushButton* ModifyButton = nullptr;

    CaseEdit& edit_;
    cust_prod::Mode mode_;
    int group_;
    cust_prod::ItemFilter satisfies_;
    cust_prod::GroupingLists lists_;
    int stored_ = -1;
};
