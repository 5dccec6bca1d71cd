#pragma once

// The question a start asks when the last run left recovered cases behind: a list of them (file or
// "untitled", title, when the copy was made), and for the selected ones Open or Discard. Closing
// the window leaves the rest for the next start.

#include "shell/prompts.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

class TRecoveryForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 30020;

    explicit TRecoveryForm(const QList<RecoveryOffer>& offers, QWidget* parent = nullptr);

    // One per offer, in order: what the user chose, Keep for what was left open.
    QList<RecoveryChoice> choices() const { return choices_; }

private:
    void decide(RecoveryChoice choice);
    void updateButtons();

    QTreeWidget* lstCases = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnDiscard = nullptr;
    QList<RecoveryChoice> choices_;
};
