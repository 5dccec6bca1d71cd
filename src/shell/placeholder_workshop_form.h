#pragma once

#include "shell/workshop_form.h"

class QLabel;

// Stands in for a workshop whose window is not built yet. It follows the window protocol exactly
// (caption, identifier, found again, closes with its case) and shows the case's title so a refresh
// can be seen.
class TPlaceholderWorkshopForm : public TWorkshopForm {
    Q_OBJECT
public:
    explicit TPlaceholderWorkshopForm(int identifier, QWidget* parent = nullptr);

    void wmRefresh() override;

    int refreshCount() const { return refreshCount_; }
    int commitCount() const { return commitCount_; }
    void wmCommit() override { ++commitCount_; }

private:
    QLabel* caseTitle_;
    int refreshCount_ = 0;
    int commitCount_ = 0;
};
