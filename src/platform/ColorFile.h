#pragma once

// The colour file (.cds): the user's name-to-colour map, one record per name, in the order
// appended. It is a small in-memory table that reads itself from a file and saves itself
// to one, with the two text fields Name and Color.
//
// File format, version 1: UTF-8 text without byte-order mark (one is tolerated on
// reading), lines ending in LF (a CR before the LF is tolerated on reading):
//
//     VELT-COLORS 1
//     Name<TAB>Color
//     <name><TAB><colour text>        one line per record
//     ...
//     END <number of records>
//
// Both fields are escaped so that any text comes back exactly: "\\" is a backslash, "\t"
// a tab, "\n" a line feed, "\r" a carriage return, and "\uXXXX" (four hexadecimal digits)
// a UTF-16 code unit; the writer uses the last for the other control characters (below
// U+0020, and U+007F) and for unpaired surrogates. Everything else stands as itself, so a
// record line holds exactly one tab. Fields have no length limit: a long name keeps its
// colour. The END line tells a complete file from one cut short. A reader refuses a
// version it does not know. A file is at most 256 MiB.

#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace velt {

struct ColorRecord {
    QString name;
    QString color; // colour text, as stored
    bool operator==(const ColorRecord&) const = default;
};

class ColorFile {
public:
    // Not open any more; the records are dropped.
    void close();
    void setFileName(const QString& path) { m_fileName = path; }
    const QString& fileName() const { return m_fileName; }
    bool isOpen() const { return m_open; }

    // Reads fileName(). Does nothing when already open (close first to read again).
    // Throws velt::Error when the file cannot be read or is no sound colour file; the
    // store is then left as it was.
    void open();
    // Open and empty, with the fields Name and Color; the file is not touched.
    void createEmpty();

    // Throws velt::Error when the store is not open.
    void append(const QString& name, const QString& color);

    // Writes all records to path through a temporary file beside it that replaces the
    // target only once complete, so a failed save leaves the old file intact. Throws
    // velt::Error with the system's reason, or when the store is not open (saving a
    // closed store would replace the file with an empty one).
    void saveToFile(const QString& path) const;

    // The records, first to last; empty when not open.
    const std::vector<ColorRecord>& records() const { return m_records; }

    // The byte form. parse throws velt::Error naming sourceName in its message.
    static std::vector<ColorRecord> parse(QByteArrayView bytes, const QString& sourceName);
    static QByteArray serialize(const std::vector<ColorRecord>& records);

private:
    void requireOpen() const;

    QString m_fileName;
    std::vector<ColorRecord> m_records;
    bool m_open = false;
};

} // namespace velt
