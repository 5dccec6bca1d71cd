#pragma once

// Answers the shell's questions and records its messages, so no test blocks on a modal window.

#include "shell/prompts.h"
#include "widgets/edit_state.h"

#include <QList>
#include <QStringList>

#include <deque>

class FakePrompts : public Prompts {
public:
    FakePrompts() { setPrompts(this); }
    ~FakePrompts() override { setPrompts(nullptr); }
    FakePrompts(const FakePrompts&) = delete;
    FakePrompts& operator=(const FakePrompts&) = delete;

    void warning(const QString& text, const QString& detail) override
    {
        warnings.append(text);
        details.append(detail);
    }
    void error(const QString& text) override { errors.append(text); }
    void outOfMemory(const QString& text) override { outOfMemoryMessages.append(text); }
    bool yesNo(const QString& text) override
    {
        questions.append(text);
        return yesNoAnswer;
    }
    SaveChangesAnswer saveChanges(const QString& text) override
    {
        questions.append(text);
        if (saveAnswers.empty())
            return SaveChangesAnswer::No;
        const auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    QString openFileName(const FileDialogRequest& request) override
    {
        openRequests.append(request);
        return takeFront(openPaths);
    }
    QString saveFileName(const FileDialogRequest& request) override
    {
        saveRequests.append(request);
        return takeFront(savePaths);
    }
    AddModAnswer askAddOrModify(bool modifyAllowed) override
    {
        addModAsked.append(modifyAllowed);
        updatingWhenAsked.append(protocol::updating(watched));
        if (addModAnswers.empty())
            return AddModAnswer::Cancelled;
        const auto answer = addModAnswers.front();
        addModAnswers.pop_front();
        return answer;
    }
    QList<RecoveryChoice> askRecovery(const QList<RecoveryOffer>& offers) override
    {
        recoveryOffers.append(offers);
        QList<RecoveryChoice> choices;
        for (qsizetype i = 0; i < offers.size(); ++i)
            choices.append(i < recoveryAnswers.size() ? recoveryAnswers[i] : RecoveryChoice::Keep);
        return choices;
    }
    void beep() override { ++beeps; }

    QStringList warnings, details, errors, outOfMemoryMessages, questions;
    bool yesNoAnswer = false;
    std::deque<SaveChangesAnswer> saveAnswers;
    std::deque<QString> openPaths, savePaths; // an empty string cancels the dialog
    QList<FileDialogRequest> openRequests, saveRequests;
    std::deque<AddModAnswer> addModAnswers;
    QList<bool> addModAsked;
    // Whether the updating switch of the window of `watched` was on at each add-or-modify question.
    QList<bool> updatingWhenAsked;
    const QWidget* watched = nullptr;
    int beeps = 0;
    // Every list the recovery question was asked with; the answers by position (Keep beyond them).
    QList<QList<RecoveryOffer>> recoveryOffers;
    QList<RecoveryChoice> recoveryAnswers;

private:
    static QString takeFront(std::deque<QString>& queue)
    {
        if (queue.empty())
            return {};
        QString value = queue.front();
        queue.pop_front();
        return value;
    }
};
