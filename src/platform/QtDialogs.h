#pragma once

// QtDialogs: the dialog seam answered with Qt's standard dialogs, for the windows.

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "platform/Dialogs.h"

namespace velt {

// The program's filter form "Text (*.a;*.b)|*.a;*.b|All|*.*" (description and patterns,
// '|'-separated pairs) as Qt name filters: "Text (*.a *.b)", "All (*)". Qt reads the
// patterns from the parentheses, so they are rebuilt from the pattern half of each pair.
QStringList qtNameFilters(const QString& filter);

class QtDialogs : public Dialogs {
public:
    // Dialogs open centred on parent (may be null); the parent is not owned.
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    void message(const QString& text) override;
    bool question(const QString& text, QuestionKind kind) override;
    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& value) override;
    std::optional<FileChoice> openFile(const FileDialogOptions& options) override;
    std::optional<FileChoice> saveFile(const FileDialogOptions& options) override;

private:
    std::optional<FileChoice> runFileDialog(const FileDialogOptions& options, bool save);

    QPointer<QWidget> m_parent;
};

} // namespace velt
