#include "platform/ColorFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "platform/CodePage.h"
#include "platform/Error.h"

namespace velt {

namespace {

constexpr int kVersion = 1;
constexpr QByteArrayView kMagic = "VELT-COLORS ";
constexpr QByteArrayView kFieldLine = "Name\tColor";
constexpr QByteArrayView kEndPrefix = "END ";
constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void notColourFile(const QString& source, const QString& why = {})
{
    QString msg = QStringLiteral("\"%1\" is not a VELT colour file").arg(shown(source));
    if (!why.isEmpty())
        msg += QStringLiteral(" (%1)").arg(why);
    throw Error(msg);
}

[[noreturn]] void damaged(const QString& source, int line, const QString& why)
{
    throw Error(QStringLiteral("\"%1\" is damaged at line %2: %3").arg(shown(source), QString::number(line), why));
}

// A whole non-negative decimal number without sign or blanks; -1 when it is not one.
qint64 parseCount(QByteArrayView digits)
{
    if (digits.isEmpty() || digits.size() > 18)
        return -1;
    qint64 v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

void appendEscaped(QString& out, QStringView field)
{
    static const char16_t hex[] = u"0123456789ABCDEF";
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        switch (c) {
        case u'\\': out += u"\\\\"; continue;
        case u'\t': out += u"\\t"; continue;
        case u'\n': out += u"\\n"; continue;
        case u'\r': out += u"\\r"; continue;
        default: break;
        }
        bool escape = c < 0x20 || c == 0x7F;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < field.size() && QChar::isLowSurrogate(field[i + 1].unicode())) {
                out += field[i];
                out += field[++i];
                continue;
            }
            escape = true;
        } else if (QChar::isLowSurrogate(c)) {
            escape = true; // no high surrogate before it, or the pair was taken above
        }
        if (escape) {
            out += u"\\u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += QChar(hex[(c >> shift) & 0xF]);
        } else {
            out += field[i];
        }
    }
}

// Decodes one escaped field; false on a malformed escape.
bool unescape(QStringView field, QString& out)
{
    out.clear();
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i >= field.size())
            return false;
        switch (field[i].unicode()) {
        case u'\\': out += u'\\'; break;
        case u't': out += u'\t'; break;
        case u'n': out += u'\n'; break;
        case u'r': out += u'\r'; break;
        case u'u': {
            if (i + 4 >= field.size())
                return false;
            char16_t unit = 0;
            for (int k = 1; k <= 4; ++k) {
                const int d = hexValue(field[i + k]);
                if (d < 0)
                    return false;
                unit = char16_t((unit << 4) | d);
            }
            out += QChar(unit);
            i += 4;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<ColorRecord> ColorFile::parse(QByteArrayView bytes, const QString& sourceName)
{
    if (bytes.isEmpty())
        notColourFile(sourceName, QStringLiteral("it is empty"));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);

    std::vector<ColorRecord> records;
    qsizetype pos = 0;
    int lineNo = 0;
    bool ended = false;
    // Yields the next line without its LF (and a CR before it); false at the end.
    auto nextLine = [&](QByteArrayView& line) {
        if (pos >= bytes.size())
            return false;
        qsizetype nl = bytes.indexOf('\n', pos);
        const qsizetype stop = nl < 0 ? bytes.size() : nl;
        line = bytes.sliced(pos, stop - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        pos = nl < 0 ? bytes.size() : nl + 1;
        ++lineNo;
        return true;
    };

    QByteArrayView line;
    nextLine(line);
    if (!line.startsWith(kMagic))
        notColourFile(sourceName);
    const qint64 version = parseCount(line.sliced(kMagic.size()));
    if (version < 1)
        notColourFile(sourceName);
    if (version > kVersion)
        throw Error(QStringLiteral("\"%1\" was written by a newer version of VELT (colour file format %2)")
                        .arg(shown(sourceName), QString::number(version)));

    if (!nextLine(line))
        damaged(sourceName, lineNo + 1, QStringLiteral("the file ends too early"));
    if (line != kFieldLine)
        damaged(sourceName, lineNo, QStringLiteral("the field names are not Name and Color"));

    QString name, color;
    while (nextLine(line)) {
        if (ended)
            damaged(sourceName, lineNo, QStringLiteral("text after the end line"));
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0) {
            if (!line.startsWith(kEndPrefix))
                damaged(sourceName, lineNo, QStringLiteral("a record without its two fields"));
            const qint64 count = parseCount(line.sliced(kEndPrefix.size()));
            if (count < 0 || count != qint64(records.size()))
                damaged(sourceName, lineNo, QStringLiteral("the number of records does not match"));
            ended = true;
            continue;
        }
        if (line.indexOf('\t', tab + 1) >= 0)
            damaged(sourceName, lineNo, QStringLiteral("a record with more than two fields"));
        if (!isValidUtf8(line))
            damaged(sourceName, lineNo, QStringLiteral("the text is not valid UTF-8"));
        const QString text = QString::fromUtf8(line);
        const qsizetype split = text.indexOf(u'\t');
        if (!unescape(QStringView(text).first(split), name)
            || !unescape(QStringView(text).sliced(split + 1), color))
            damaged(sourceName, lineNo, QStringLiteral("a bad escape sequence"));
        records.push_back({name, color});
    }
    if (!ended)
        damaged(sourceName, lineNo + 1, QStringLiteral("the file ends too early"));
    return records;
}

QByteArray ColorFile::serialize(const std::vector<ColorRecord>& records)
{
    QString text = QString::fromLatin1(kMagic.toByteArray()) + QString::number(kVersion) + u'\n'
        + QString::fromLatin1(kFieldLine.toByteArray()) + u'\n';
    for (const ColorRecord& r : records) {
        appendEscaped(text, r.name);
        text += u'\t';
        appendEscaped(text, r.color);
        text += u'\n';
    }
    text += QString::fromLatin1(kEndPrefix.toByteArray()) + QString::number(records.size()) + u'\n';
    return text.toUtf8();
}

void ColorFile::close()
{
    m_open = false;
    m_records.clear();
}

void ColorFile::open()
{
    if (m_open)
        return;
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open \"%1\": %2").arg(shown(m_fileName), file.errorString()));
    if (file.size() > kMaxFileSize)
        notColourFile(m_fileName, QStringLiteral("it is too large"));
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Cannot read \"%1\": %2").arg(shown(m_fileName), file.errorString()));
    if (bytes.size() > kMaxFileSize)
        notColourFile(m_fileName, QStringLiteral("it is too large"));
    m_records = parse(bytes, m_fileName); // parse first: a bad file leaves the store alone
    m_open = true;
}

void ColorFile::createEmpty()
{
    m_records.clear();
    m_open = true;
}

void ColorFile::requireOpen() const
{
    if (!m_open)
        throw Error(QStringLiteral("The colour list is not open"));
}

void ColorFile::append(const QString& name, const QString& color)
{
    requireOpen();
    m_records.push_back({name, color});
}

void ColorFile::saveToFile(const QString& path) const
{
    requireOpen();
    const QByteArray bytes = serialize(m_records);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Cannot save \"%1\": %2").arg(shown(path), file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw Error(QStringLiteral("Cannot save \"%1\": %2").arg(shown(path), reason));
    }
    if (!file.commit())
        throw Error(QStringLiteral("Cannot save \"%1\": %2").arg(shown(path), file.errorString()));
}

} // namespace velt
