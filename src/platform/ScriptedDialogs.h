#pragma once

// A Dialogs implementation without a display: answers come from a queue that a test or the
// batch tool fills, and every dialog asked for is recorded, so a test can inspect the texts.

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Dialogs.h"

namespace velt {

class ScriptedDialogs : public Dialogs {
public:
    struct Asked {
        enum Kind { Message, Question, Input, Open, Save } kind;
        QString text;              // message or question text, input caption, dialog title
        FileDialogOptions options; // for Open and Save
    };

    void message(const QString& text) override;
    bool question(const QString& text, QuestionKind kind) override;
    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& value) override;
    std::optional<FileChoice> openFile(const FileDialogOptions& options) override;
    std::optional<FileChoice> saveFile(const FileDialogOptions& options) override;

    // Answers, taken in order; an empty queue answers No, Cancel.
    std::deque<bool> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<std::optional<FileChoice>> files;

    std::vector<Asked> asked;
    std::function<void(const QString&)> onMessage; // e.g. the batch tool's standard error

    std::vector<QString> messages() const;
};

} // namespace velt
