#include "colours/ColorText.h"

#include <array>
#include <cstdint>
#include <optional>

#include <QHash>

#include "platform/Error.h"

namespace velt {

namespace {

constexpr std::array<NamedColor, 148> kNamedColors{{
    {u"Aliceblue", 0xFFF0F8FF},
    {u"Antiquewhite", 0xFFFAEBD7},
    {u"Aqua", 0xFF00FFFF},
    {u"Aquamarine", 0xFF7FFFD4},
    {u"Azure", 0xFFF0FFFF},
    {u"Beige", 0xFFF5F5DC},
    {u"Bisque", 0xFFFFE4C4},
    {u"Black", 0xFF000000},
    {u"Blanchedalmond", 0xFFFFEBCD},
    {u"Blue", 0xFF0000FF},
    {u"Blueviolet", 0xFF8A2BE2},
    {u"Brown", 0xFFA52A2A},
    {u"Burlywood", 0xFFDEB887},
    {u"Cadetblue", 0xFF5F9EA0},
    {u"Chartreuse", 0xFF7FFF00},
    {u"Chocolate", 0xFFD2691E},
    {u"Coral", 0xFFFF7F50},
    {u"Cornflowerblue", 0xFF6495ED},
    {u"Cornsilk", 0xFFFFF8DC},
    {u"Crimson", 0xFFDC143C},
    {u"Cyan", 0xFF00FFFF},
    {u"Darkblue", 0xFF00008B},
    {u"Darkcyan", 0xFF008B8B},
    {u"Darkgoldenrod", 0xFFB8860B},
    {u"Darkgray", 0xFFA9A9A9},
    {u"Darkgreen", 0xFF006400},
    {u"Darkgrey", 0xFFA9A9A9},
    {u"Darkkhaki", 0xFFBDB76B},
    {u"Darkmagenta", 0xFF8B008B},
    {u"Darkolivegreen", 0xFF556B2F},
    {u"Darkorange", 0xFFFF8C00},
    {u"Darkorchid", 0xFF9932CC},
    {u"Darkred", 0xFF8B0000},
    {u"Darksalmon", 0xFFE9967A},
    {u"Darkseagreen", 0xFF8FBC8F},
    {u"Darkslateblue", 0xFF483D8B},
    {u"Darkslategray", 0xFF2F4F4F},
    {u"Darkslategrey", 0xFF2F4F4F},
    {u"Darkturquoise", 0xFF00CED1},
    {u"Darkviolet", 0xFF9400D3},
    {u"Deeppink", 0xFFFF1493},
    {u"Deepskyblue", 0xFF00BFFF},
    {u"Dimgray", 0xFF696969},
    {u"Dimgrey", 0xFF696969},
    {u"Dodgerblue", 0xFF1E90FF},
    {u"Firebrick", 0xFFB22222},
    {u"Floralwhite", 0xFFFFFAF0},
    {u"Forestgreen", 0xFF228B22},
    {u"Fuchsia", 0xFFFF00FF},
    {u"Gainsboro", 0xFFDCDCDC},
    {u"Ghostwhite", 0xFFF8F8FF},
    {u"Gold", 0xFFFFD700},
    {u"Goldenrod", 0xFFDAA520},
    {u"Gray", 0xFF808080},
    {u"Green", 0xFF008000},
    {u"Greenyellow", 0xFFADFF2F},
    {u"Grey", 0xFF808080},
    {u"Honeydew", 0xFFF0FFF0},
    {u"Hotpink", 0xFFFF69B4},
    {u"Indianred", 0xFFCD5C5C},
    {u"Indigo", 0xFF4B0082},
    {u"Ivory", 0xFFFFFFF0},
    {u"Khaki", 0xFFF0E68C},
    {u"Lavender", 0xFFE6E6FA},
    {u"Lavenderblush", 0xFFFFF0F5},
    {u"Lawngreen", 0xFF7CFC00},
    {u"Lemonchiffon", 0xFFFFFACD},
    {u"Lightblue", 0xFFADD8E6},
    {u"Lightcoral", 0xFFF08080},
    {u"Lightcyan", 0xFFE0FFFF},
    {u"Lightgoldenrodyellow", 0xFFFAFAD2},
    {u"Lightgray", 0xFFD3D3D3},
    {u"Lightgreen", 0xFF90EE90},
    {u"Lightgrey", 0xFFD3D3D3},
    {u"Lightpink", 0xFFFFB6C1},
    {u"Lightsalmon", 0xFFFFA07A},
    {u"Lightseagreen", 0xFF20B2AA},
    {u"Lightskyblue", 0xFF87CEFA},
    {u"Lightslategray", 0xFF778899},
    {u"Lightslategrey", 0xFF778899},
    {u"Lightsteelblue", 0xFFB0C4DE},
    {u"Lightyellow", 0xFFFFFFE0},
    {u"Lime", 0xFF00FF00},
    {u"Limegreen", 0xFF32CD32},
    {u"Linen", 0xFFFAF0E6},
    {u"Magenta", 0xFFFF00FF},
    {u"Maroon", 0xFF800000},
    {u"Mediumaquamarine", 0xFF66CDAA},
    {u"Mediumblue", 0xFF0000CD},
    {u"Mediumorchid", 0xFFBA55D3},
    {u"Mediumpurple", 0xFF9370DB},
    {u"Mediumseagreen", 0xFF3CB371},
    {u"Mediumslateblue", 0xFF7B68EE},
    {u"Mediumspringgreen", 0xFF00FA9A},
    {u"Mediumturquoise", 0xFF48D1CC},
    {u"Mediumvioletred", 0xFFC71585},
    {u"Midnightblue", 0xFF191970},
    {u"Mintcream", 0xFFF5FFFA},
    {u"Mistyrose", 0xFFFFE4E1},
    {u"Moccasin", 0xFFFFE4B5},
    {u"Navajowhite", 0xFFFFDEAD},
    {u"Navy", 0xFF000080},
    {u"Oldlace", 0xFFFDF5E6},
    {u"Olive", 0xFF808000},
    {u"Olivedrab", 0xFF6B8E23},
    {u"Orange", 0xFFFFA500},
    {u"Orangered", 0xFFFF4500},
    {u"Orchid", 0xFFDA70D6},
    {u"Palegoldenrod", 0xFFEEE8AA},
    {u"Palegreen", 0xFF98FB98},
    {u"Paleturquoise", 0xFFAFEEEE},
    {u"Palevioletred", 0xFFDB7093},
    {u"Papayawhip", 0xFFFFEFD5},
    {u"Peachpuff", 0xFFFFDAB9},
    {u"Peru", 0xFFCD853F},
    {u"Pink", 0xFFFFC0CB},
    {u"Plum", 0xFFDDA0DD},
    {u"Powderblue", 0xFFB0E0E6},
    {u"Purple", 0xFF800080},
    {u"Red", 0xFFFF0000},
    {u"Rosybrown", 0xFFBC8F8F},
    {u"Royalblue", 0xFF4169E1},
    {u"Saddlebrown", 0xFF8B4513},
    {u"Salmon", 0xFFFA8072},
    {u"Sandybrown", 0xFFF4A460},
    {u"Seagreen", 0xFF2E8B57},
    {u"Seashell", 0xFFFFF5EE},
    {u"Sienna", 0xFFA0522D},
    {u"Silver", 0xFFC0C0C0},
    {u"Skyblue", 0xFF87CEEB},
    {u"Slateblue", 0xFF6A5ACD},
    {u"Slategray", 0xFF708090},
    {u"Slategrey", 0xFF708090},
    {u"Snow", 0xFFFFFAFA},
    {u"Springgreen", 0xFF00FF7F},
    {u"Steelblue", 0xFF4682B4},
    {u"Tan", 0xFFD2B48C},
    {u"Teal", 0xFF008080},
    {u"Thistle", 0xFFD8BFD8},
    {u"Tomato", 0xFFFF6347},
    {u"Turquoise", 0xFF40E0D0},
    {u"Violet", 0xFFEE82EE},
    {u"Wheat", 0xFFF5DEB3},
    {u"White", 0xFFFFFFFF},
    {u"Whitesmoke", 0xFFF5F5F5},
    {u"Yellow", 0xFFFFFF00},
    {u"Yellowgreen", 0xFF9ACD32},
    {u"Null", 0x00000000},
}};

// Lower-case name -> value, and value -> first name; built once on first use.
const QHash<QString, Argb>& valueByName()
{
    static const QHash<QString, Argb> map = [] {
        QHash<QString, Argb> m;
        for (const NamedColor& c : kNamedColors)
            m.insert(c.name.toString().toLower(), c.value);
        return m;
    }();
    return map;
}

const QHash<Argb, QStringView>& nameByValue()
{
    static const QHash<Argb, QStringView> map = [] {
        QHash<Argb, QStringView> m;
        for (const NamedColor& c : kNamedColors)
            if (!m.contains(c.value)) // shared values (Aqua/Cyan, Gray/Grey) keep the first
                m.insert(c.value, c.name);
        return m;
    }();
    return map;
}

std::optional<Argb> lookupName(const QString& text)
{
    if (text.isEmpty() || text.size() > 24) // longest name plus "cla"
        return std::nullopt;
    const QString lower = text.toLower();
    const auto& map = valueByName();
    if (auto it = map.constFind(lower); it != map.cend())
        return *it;
    for (QStringView prefix : {u"cla", u"cl"}) {
        if (lower.startsWith(prefix)) {
            if (auto it = map.constFind(lower.mid(prefix.size())); it != map.cend())
                return *it;
        }
    }
    return std::nullopt;
}

int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int v = 99;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v < base ? v : -1;
}

// Whole numbers up to 64 bits, so both 4291913726 and -1 give a colour; wider numbers are
// refused rather than silently wrapped.
std::optional<Argb> parseInteger(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) {
        negative = text[0] == u'-';
        text = text.mid(1);
    }
    int base = 10;
    if (text.startsWith(u'$')) {
        base = 16;
        text = text.mid(1);
    } else if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        text = text.mid(2);
    }
    if (text.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (QChar c : text) {
        const int d = digitValue(c, base);
        if (d < 0)
            return std::nullopt;
        if (value > (UINT64_MAX - std::uint64_t(d)) / std::uint64_t(base))
            return std::nullopt;
        value = value * std::uint64_t(base) + std::uint64_t(d);
    }
    if (negative)
        value = ~value + 1;
    return Argb(value & 0xFFFFFFFFu);
}

} // namespace

std::span<const NamedColor> NamedColors()
{
    return kNamedColors;
}

QString ColorToText(Argb color)
{
    const auto& map = nameByValue();
    if (auto it = map.constFind(color); it != map.cend())
        return it->toString();
    return QStringLiteral("#%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

Argb TextToColor(const QString& text)
{
    QString t = text;
    if (t.size() == 1 && t[0].unicode() == 0)
        t = QStringLiteral("$0");
    else if (!t.isEmpty() && (t[0] == u'#' || t[0] == u'x'))
        t[0] = u'$';
    if (auto v = lookupName(t))
        return *v;
    if (auto v = parseInteger(t))
        return *v;
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(t));
}

} // namespace velt
