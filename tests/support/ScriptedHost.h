#pragma once

#include "engine/run/RunHost.h"

#include <QList>
#include <QString>
#include <deque>

// A run host for tests: answers questions from scripted queues (a default
// answer once a queue is empty) and records everything it was asked or told.
class ScriptedHost : public RunHost
{
public:
    std::deque<ContinueAnswer> continueAnswers;
    ContinueAnswer defaultContinue = ContinueAnswer::Yes;
    std::deque<ReplaceAnswer> replaceAnswers;
    ReplaceAnswer defaultReplace = ReplaceAnswer::Yes;
    std::deque<bool> confirmAnswers;
    bool fileListContinues = true;

    QList<QString> questions;               // AskContinue messages
    QList<std::array<QString, 4>> captions; // AskContinue captions
    QList<ReplaceConfirmation> confirmations;
    QList<QString> confirmQuestions;
    QList<QString> messages;
    QList<QString> stickyMessages;
    QList<QString> statuses;
    QList<QString> progress;
    QList<JobPage> pages;
    QList<int> wizardStages;
    int pumps = 0;
    int fileListShown = 0;
    int statisticsShown = 0;
    int exitCode = 0;
    QString currentTitle = "Sarvonex";
    QList<QString> titles;

    ContinueAnswer AskContinue(const QString &message,
                               const std::array<QString, 4> &buttonCaptions) override
    {
        questions.append(message);
        captions.append(buttonCaptions);
        return take(continueAnswers, defaultContinue);
    }
    ReplaceAnswer confirmReplace(const ReplaceConfirmation &match) override
    {
        confirmations.append(match);
        return take(replaceAnswers, defaultReplace);
    }
    bool confirm(const QString &question) override
    {
        confirmQuestions.append(question);
        return take(confirmAnswers, true);
    }
    void showMessage(const QString &message) override { messages.append(message); }
    void ShowStickyMessage(const QString &message) override { stickyMessages.append(message); }
    void setStatus(const QString &text) override { statuses.append(text); }
    void setProgress(const QString &text) override { progress.append(text); }
    void pump() override { ++pumps; }
    bool showFileList(PathTable &) override
    {
        ++fileListShown;
        return fileListContinues;
    }
    void showStatistics(const PathTable &) override { ++statisticsShown; }
    void showPage(JobPage page) override { pages.append(page); }
    void wizardStage(int stage) override { wizardStages.append(stage); }
    QString title() const override { return currentTitle; }
    void setTitle(const QString &title) override
    {
        currentTitle = title;
        titles.append(title);
    }
    void setExitCode(int code) override { exitCode = code; }

private:
    template <class T>
    static T take(std::deque<T> &queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};
