#pragma once

// The "Define Your Market Groups" workshop: a tree of the case's market groups, three multi-select
// lists to choose a group's customers, services and capabilities, a remark per chosen element and
// the type of each service. Every edit is stored at once; the operations live in
// market_group_ops.h.

#include "shell/workshop_form.h"
#include "workshops/customers/market_group_ops.h"

#include <vector>

class Cp1252PlainTextEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

class TMarketGrpForm : public TWorkshopForm {
    Q_OBJECT
public:
    explicit TMarketGrpForm(QWidget* parent = nullptr);

    void wmCommit() override;
    void wmRefresh() override;

    // The market group the name box and Modify Group act on; -1 for none.
    int currentGroup() const { return currentGroup_; }

protected:
    // Activation rebuilds the lists and the tree without selecting anything.
    void activationRefresh() override;
    // Keeps the selected node (and so the fields beside the tree) when it is still in the tree.
    void followCaseChanges() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void fillChoiceLists();
    void buildTree();
    // The end of a refresh, create, modify or delete: the first group current and its node loaded,
    // or, without groups, the name and remark fields cleared and the commands disabled.
    void selectFirstGroup();
    void showNoNode();

    // The tree node an item stands for; null for none.
    const market_groups::TreeNode* nodeOf(const QTreeWidgetItem* item) const;
    const market_groups::TreeNode* selectedNode() const;

    market_groups::Selection listSelection() const;
    void showListSelection(const market_groups::Selection& selection);

    void GroupViewChange(QTreeWidgetItem* item);
    void GroupViewDelete();
    void EditRemarksChange();
    void RadioTypeClick(int type);
    void EditNameChange();
    void BtnCreateClick();
    void BtnModifyClick();
    void showStatus(const QString& text);
    // Widens the tree and the lists to their texts (within limits) the first time they are filled,
    // and the window with them, so the case's names show whole.
    void fitToContent();

    QTreeWidget* GroupView = nullptr;
    QGroupBox* RadioType = nullptr;
    QRadioButton* RadioIndependent = nullptr;
    QRadioButton* RadioPartner = nullptr;
    Cp1252PlainTextEdit* EditRemarks = nullptr;
    QLineEdit* EditName = nullptr;
    QPushButton* BtnCreate = nullptr;
    QPushButton* BtnModify = nullptr;
    QListWidget* CustListBox = nullptr;
    QListWidget* ServiceListBox = nullptr;
    QListWidget* CapsListBox = nullptr;
    std::vector<market_groups::TreeNode> nodes_;
    int currentGroup_ = -1;
    bool fittedToContent_ = false;
};
