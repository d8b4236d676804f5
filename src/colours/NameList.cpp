#include "colours/NameList.h"

#include <algorithm>
#include <numeric>

#include <QCollatorSortKey>

namespace velt {

namespace {

// A key that every pair of names the case-blind collation holds equal shares, so that a
// hash finds the candidates and the collator only confirms. It folds case, compatibility
// forms (full-width letters) and the four Turkish i's, and drops the invisible control and
// format characters the collation skips. It may merge more than the collation does;
// confirming handles that.
QString caseBlindKey(const QString& name)
{
    QString key = name.toCaseFolded().normalized(QString::NormalizationForm_KC).toCaseFolded();
    qsizetype out = 0;
    for (qsizetype i = 0; i < key.size(); ++i) {
        QChar c = key[i];
        const QChar::Category cat = c.category();
        if (cat == QChar::Other_Control || cat == QChar::Other_Format)
            continue;
        if (c.unicode() == 0x0131 || c.unicode() == 0x0130)
            c = u'i';
        key[out++] = c;
    }
    key.truncate(out);
    return key;
}

} // namespace

NameList::NameList(const QLocale& locale)
{
    setLocale(locale);
}

void NameList::setLocale(const QLocale& locale)
{
    m_collator = QCollator(locale);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    clear();
}

void NameList::clear()
{
    m_names.clear();
    m_byKey.clear();
    m_formSlots.assign(16, FormSlot{});
    m_forms.clear();
    m_formEntry.clear();
}

std::size_t NameList::formSlot(QStringView name, std::size_t hash) const
{
    const std::size_t mask = m_formSlots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const FormSlot& slot = m_formSlots[i];
        if (slot.form < 0
            || (slot.hash == hash && QStringView(m_forms[std::size_t(slot.form)]) == name))
            return i;
    }
}

void NameList::addForm(const QString& name, std::size_t hash, int entry)
{
    if (2 * (m_forms.size() + 1) > m_formSlots.size()) {
        std::vector<FormSlot> old(m_formSlots.size() * 2);
        old.swap(m_formSlots);
        const std::size_t mask = m_formSlots.size() - 1;
        for (const FormSlot& slot : old) {
            if (slot.form < 0)
                continue;
            std::size_t i = slot.hash & mask;
            while (m_formSlots[i].form >= 0)
                i = (i + 1) & mask;
            m_formSlots[i] = slot;
        }
    }
    m_formSlots[formSlot(name, hash)] = FormSlot{hash, int(m_forms.size())};
    m_forms.push_back(name);
    m_formEntry.push_back(entry);
}

bool NameList::sameEntry(const QString& a, const QString& b) const
{
    return a.size() == b.size() && m_collator.compare(a, b) == 0;
}

int NameList::findByKey(const QString& name) const
{
    const auto it = m_byKey.constFind(caseBlindKey(name));
    if (it == m_byKey.cend())
        return -1;
    for (int i : *it) {
        if (sameEntry(m_names[std::size_t(i)], name))
            return i;
    }
    return -1;
}

void NameList::build(const std::vector<QString>& namesInRowOrder)
{
    build(int(namesInRowOrder.size()),
          [&](int i) -> const QString& { return namesInRowOrder[std::size_t(i)]; });
}

void NameList::build(int count, const std::function<const QString&(int)>& nameAt)
{
    clear();
    // Pass 1, in row order: every row costs one probe of the spelling table; only a
    // spelling not met before goes to the key and the collator. Entries are numbered as
    // first met.
    for (int row = 0; row < count; ++row) {
        const QString& name = nameAt(row);
        const std::size_t hash = qHash(QStringView(name), 0);
        if (m_formSlots[formSlot(name, hash)].form >= 0)
            continue;
        int entry = findByKey(name);
        if (entry < 0) {
            entry = int(m_names.size());
            m_names.push_back(name);
            m_byKey[caseBlindKey(name)].push_back(entry);
        }
        addForm(name, hash, entry);
    }

    // Pass 2: sort only the distinct entries, each turned into a collation key once. The
    // sort is stable, so entries the collation holds equal keep their first-met order.
    const std::size_t n = m_names.size();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(n);
    for (const QString& s : m_names)
        keys.push_back(m_collator.sortKey(s));
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0;
    });

    std::vector<int> newIndex(n);
    std::vector<QString> sorted;
    sorted.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        newIndex[std::size_t(order[i])] = int(i);
        sorted.push_back(std::move(m_names[std::size_t(order[i])]));
    }
    m_names = std::move(sorted);
    for (int& entry : m_formEntry)
        entry = newIndex[std::size_t(entry)];
    for (auto it = m_byKey.begin(); it != m_byKey.end(); ++it)
        for (int& i : *it)
            i = newIndex[std::size_t(i)];
}

int NameList::indexOf(const QString& name) const
{
    const FormSlot& slot = m_formSlots[formSlot(name, qHash(QStringView(name), 0))];
    if (slot.form >= 0)
        return m_formEntry[std::size_t(slot.form)];
    return findByKey(name);
}

} // namespace velt
