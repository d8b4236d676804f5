#include "colours/Painting.h"

#include <unordered_map>

#include <QFileInfo>

#include "colours/ColorText.h"
#include "colours/Hsl.h"
#include "colours/NameColours.h"
#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "shell/Host.h"
#include "shell/SharedState.h"

namespace velt {

void BuildColorList(SharedState& s)
{
    s.ColorList = BuildColorList(s.NameList.count(), DisplayLightness(s.tbLuminance));
}

bool ApplyColorFile(SharedState& s, Host& host)
{
    if (!QFileInfo::exists(s.ColorFilePath)) {
        BuildColorList(s);
        return true;
    }
    ColorFile file;
    file.setFileName(s.ColorFilePath);
    try {
        file.open();
    } catch (const Error& e) {
        host.dialogs().message(e.message());
        return false;
    }
    BuildColorList(s);
    QStringList bad;
    for (const ColorRecord& r : file.records()) {
        const int i = s.NameList.indexOf(r.name);
        if (i < 0 || i >= s.ColorList.size())
            continue;
        try {
            TextToColor(r.color);
        } catch (const Error& e) {
            bad << e.message();
            continue;
        }
        s.ColorList[i] = r.color; // exactly as stored; the last record of a name wins
    }
    s.cdsColors = std::move(file);
    if (!bad.isEmpty())
        host.dialogs().message(bad.first());
    return true;
}

Argb nameColour(const SharedState& s, const QString& name)
{
    const int i = s.NameList.indexOf(name);
    if (i < 0 || i >= s.ColorList.size())
        return 0;
    return TextToColor(s.ColorList[i]);
}

void PaintNameColors(SharedState& s)
{
    Grid& g = s.tmsGrid;
    std::vector<Argb> colours(s.ColorList.size());
    std::vector<char> known(s.ColorList.size(), 0);
    g.BeginUpdate();
    for (int row = 1; row < g.RowCount(); ++row) {
        if (isNonMatching(g, row))
            continue;
        const int i = s.NameList.indexOf(RowName(g, row));
        if (i < 0 || i >= int(colours.size()))
            continue;
        if (!known[i]) {
            colours[i] = TextToColor(s.ColorList[i]);
            known[i] = 1;
        }
        for (int col = 0; col < g.ColumnCount(); ++col)
            g.SetColor(col, row, colours[i]);
    }
    g.EndUpdate();
}

void tbLuminanceChange(SharedState& s, Host& host)
{
    if (s.ColorList.size() < 2) {
        host.focusTable();
        return;
    }
    Grid& g = s.tmsGrid;
    const float lightness = DisplayLightness(s.tbLuminance);
    std::unordered_map<Argb, Argb> relit; // rows of one name share a fill
    g.BeginUpdate();
    for (int row = 1; row < g.RowCount(); ++row) {
        if (isNonMatching(g, row))
            continue;
        const Argb fill = g.Color(ColName, row);
        auto it = relit.find(fill);
        if (it == relit.end())
            it = relit.emplace(fill, Relight(fill, lightness)).first;
        for (int col = 0; col < g.ColumnCount(); ++col)
            g.SetColor(col, row, it->second);
    }
    g.EndUpdate();
    host.focusTable();
}

} // namespace velt
