#pragma once

// A workshop window for the shell's own tests: it follows the window protocol exactly (caption,
// identifier, found again, commits and closes with its case), counts the messages it gets and
// shows the case's title so a refresh can be seen.

#include "model/case_data.h"
#include "shell/workshop_catalog.h"
#include "shell/workshop_factory.h"
#include "shell/workshop_form.h"
#include "widgets/text_convert.h"

#include <QLabel>
#include <QVBoxLayout>

class TestWorkshopForm : public TWorkshopForm {
public:
    explicit TestWorkshopForm(int identifier, QWidget* parent = nullptr) : TWorkshopForm(identifier, parent)
    {
        auto* heading = new QLabel(captionWord(), this);
        caseTitle_ = new QLabel(this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(heading);
        layout->addWidget(caseTitle_);
        layout->addStretch();
        resize(420, 220);
    }

    void wmRefresh() override
    {
        ++refreshCount_;
        caseTitle_->setText(toQt(data().Title));
    }
    void wmCommit() override { ++commitCount_; }

    int refreshCount() const { return refreshCount_; }
    int commitCount() const { return commitCount_; }
    QLabel* caseTitle() const { return caseTitle_; }

    // Makes every workshop of the catalog open as a TestWorkshopForm.
    static void registerForAllWorkshops()
    {
        for (const WorkshopEntry& entry : workshopCatalog()) {
            const int identifier = entry.identifier;
            registerWorkshopWindow(identifier, [identifier](QWidget* parent) -> TWorkshopForm* {
                return new TestWorkshopForm(identifier, parent);
            });
        }
    }

private:
    QLabel* caseTitle_;
    int refreshCount_ = 0;
    int commitCount_ = 0;
};
