#include "platform/ScriptedDialogs.h"

namespace velt {

void ScriptedDialogs::message(const QString& text)
{
    asked.push_back({Asked::Message, text, {}});
    if (onMessage)
        onMessage(text);
}

bool ScriptedDialogs::question(const QString& text, QuestionKind)
{
    asked.push_back({Asked::Question, text, {}});
    if (answers.empty())
        return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> ScriptedDialogs::inputQuery(const QString& caption, const QString&, const QString&)
{
    asked.push_back({Asked::Input, caption, {}});
    if (inputs.empty())
        return std::nullopt;
    auto a = inputs.front();
    inputs.pop_front();
    return a;
}

std::optional<FileChoice> ScriptedDialogs::openFile(const FileDialogOptions& options)
{
    asked.push_back({Asked::Open, options.title, options});
    if (files.empty())
        return std::nullopt;
    auto a = files.front();
    files.pop_front();
    return a;
}

std::optional<FileChoice> ScriptedDialogs::saveFile(const FileDialogOptions& options)
{
    asked.push_back({Asked::Save, options.title, options});
    if (files.empty())
        return std::nullopt;
    auto a = files.front();
    files.pop_front();
    return a;
}

std::vector<QString> ScriptedDialogs::messages() const
{
    std::vector<QString> out;
    for (const Asked& a : asked)
        if (a.kind == Asked::Message)
            out.push_back(a.text);
    return out;
}

} // namespace velt
