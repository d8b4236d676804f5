#pragma once

// The seam through which every modal dialog goes. Logic asks here; the windows answer with
// Qt's standard dialogs (QtDialogs), tests and the batch tool with scripted answers.

#include <optional>

#include <QString>

namespace velt {

enum class QuestionKind { Warning, Confirmation };

struct FileDialogOptions {
    QString title;
    QString filter;        // in the program's own form: "Text (*.a;*.b)|*.a;*.b|All|*.*"
    int filterIndex = 1;   // 1-based, as the filter lists them
    QString defaultSuffix; // without the dot
    QString directory;     // start folder; "" leaves it to the system
    QString fileName;      // proposed file name
    bool overwritePrompt = false;
};

struct FileChoice {
    QString path;
    int filterIndex = 1;   // the filter the user had chosen, 1-based
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message box with one OK button.
    virtual void message(const QString& text) = 0;
    // Yes/No with No the default; true only for Yes.
    virtual bool question(const QString& text, QuestionKind kind) = 0;
    // An input box with a caption, one prompt and a start value; nullopt when cancelled.
    virtual std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                              const QString& value) = 0;
    virtual std::optional<FileChoice> openFile(const FileDialogOptions& options) = 0;
    virtual std::optional<FileChoice> saveFile(const FileDialogOptions& options) = 0;
};

} // namespace velt
