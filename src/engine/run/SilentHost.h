#pragma once

#include "engine/run/RunHost.h"

// A host for work nobody watches: work done ahead of a file's turn, and
// benchmarks. It shows nothing; a question, which such work never asks, is
// answered Cancel.
class SilentHost : public RunHost
{
public:
    ContinueAnswer AskContinue(const QString &, const std::array<QString, 4> &) override
    {
        return ContinueAnswer::Cancel;
    }
    ReplaceAnswer confirmReplace(const ReplaceConfirmation &) override
    {
        return ReplaceAnswer::Cancel;
    }
    bool confirm(const QString &) override { return false; }
    void showMessage(const QString &) override {}
    void ShowStickyMessage(const QString &) override {}
    void setStatus(const QString &) override {}
    void setProgress(const QString &) override {}
    void pump() override {}
    bool showFileList(PathTable &) override { return false; }
    void showStatistics(const PathTable &) override {}
};
