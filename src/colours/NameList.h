#pragma once

// The sorted distinct match names of the segment table. Names that differ only in letter
// case are one entry, spelt as first met; order and equality follow the locale's
// collation with case ignored. A name's position decides its generated colour.

#include <functional>
#include <vector>

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringView>

namespace velt {

class NameList {
public:
    explicit NameList(const QLocale& locale = QLocale());

    // Takes effect from the next build; the current entries are dropped, since their order
    // and merging belonged to the old collation.
    void setLocale(const QLocale& locale);
    QLocale locale() const { return m_collator.locale(); }

    // Rebuilds from names in row order (cells are taken as they stand, untrimmed).
    void build(const std::vector<QString>& namesInRowOrder);
    void build(int count, const std::function<const QString&(int)>& nameAt);
    void clear();

    // The entry with the same length as name that the collation holds equal to it, case
    // ignored; -1 when there is none.
    int indexOf(const QString& name) const;
    bool contains(const QString& name) const { return indexOf(name) >= 0; }

    int count() const { return int(m_names.size()); }
    bool isEmpty() const { return m_names.empty(); }
    const QString& at(int i) const { return m_names[std::size_t(i)]; }
    const std::vector<QString>& names() const { return m_names; }
    std::vector<QString>::const_iterator begin() const { return m_names.begin(); }
    std::vector<QString>::const_iterator end() const { return m_names.end(); }

private:
    int findByKey(const QString& name) const;
    bool sameEntry(const QString& a, const QString& b) const;
    // The slot holding name, or the empty slot where it would go.
    std::size_t formSlot(QStringView name, std::size_t hash) const;
    void addForm(const QString& name, std::size_t hash, int entry);

    QCollator m_collator;
    std::vector<QString> m_names;
    // Case-blind key -> entries; several when the collation tells apart names the key
    // merges (a Turkish dotted and dotless i, for one).
    QHash<QString, std::vector<int>> m_byKey;
    // Every spelling met while building -> its entry, so that looking up the table's own
    // cells costs one hash probe and no collation. A flat open-addressing table: this is
    // probed once per row of tables with a million rows, and QHash costs twice as much.
    struct FormSlot {
        std::size_t hash = 0;
        int form = -1; // index into m_forms; -1: empty
    };
    std::vector<FormSlot> m_formSlots; // size a power of two, at most half full
    std::vector<QString> m_forms;
    std::vector<int> m_formEntry;
};

} // namespace velt
