#include "platform/QtDialogs.h"

#include <algorithm>

#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace velt {

namespace {

QStringList patternsOf(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    QStringList patterns;
    for (QString p : text.split(separators, Qt::SkipEmptyParts)) {
        // "*.*" means every file where the program comes from; here it would skip the
        // many files that have no dot in their name.
        if (p == QLatin1String("*.*"))
            p = QStringLiteral("*");
        if (!patterns.contains(p))
            patterns << p;
    }
    return patterns;
}

QString title()
{
    return QGuiApplication::applicationDisplayName();
}

} // namespace

QStringList qtNameFilters(const QString& filter)
{
    // A pattern list in parentheses at the end of a description is dropped: the pattern
    // half of the pair is what filters, and Qt would read only one list anyway.
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\(([^()]*[*?][^()]*)\\)\\s*$"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns;
        if (i + 1 < parts.size()) {
            patterns = patternsOf(parts[i + 1]);
        } else {
            // A description without its pattern half: use the patterns it names, if any.
            const QRegularExpressionMatch m = trailingPatterns.match(description);
            if (m.hasMatch())
                patterns = patternsOf(m.captured(1));
        }
        description.remove(trailingPatterns);
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        if (description.isEmpty())
            description = patterns.join(QLatin1Char(' '));
        result << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
                      + QLatin1Char(')');
    }
    return result;
}

void QtDialogs::message(const QString& text)
{
    QMessageBox::information(m_parent, title(), text, QMessageBox::Ok);
}

bool QtDialogs::question(const QString& text, QuestionKind kind)
{
    QMessageBox box(kind == QuestionKind::Warning ? QMessageBox::Warning : QMessageBox::Question,
                    title(), text, QMessageBox::Yes | QMessageBox::No, m_parent);
    // No is the default, so a hurried Enter never confirms.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::inputQuery(const QString& caption, const QString& prompt,
                                             const QString& value)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, caption, prompt, QLineEdit::Normal, value, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<FileChoice> QtDialogs::openFile(const FileDialogOptions& options)
{
    return runFileDialog(options, false);
}

std::optional<FileChoice> QtDialogs::saveFile(const FileDialogOptions& options)
{
    return runFileDialog(options, true);
}

std::optional<FileChoice> QtDialogs::runFileDialog(const FileDialogOptions& options, bool save)
{
    QFileDialog dialog(m_parent, options.title, options.directory);
    // Qt's own dialog, so the default suffix and the overwrite prompt behave the same
    // on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.overwritePrompt);

    const QStringList filters = qtNameFilters(options.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const qsizetype index = options.filterIndex - 1;
        dialog.selectNameFilter(filters.value(index >= 0 && index < filters.size() ? index : 0));
    }
    if (!options.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(options.defaultSuffix);
    if (!options.fileName.isEmpty())
        dialog.selectFile(options.fileName);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileChoice choice;
    choice.path = dialog.selectedFiles().constFirst();
    choice.filterIndex = std::max<int>(1, int(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return choice;
}

} // namespace velt
