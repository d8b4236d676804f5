// libFuzzer target: any bytes through the CSV reader, then a save and a reload, which must
// give back the same cells.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>

#include "platform/Error.h"
#include "platform/Grid.h"

namespace {

bool sameCells(const velt::Grid& a, const velt::Grid& b)
{
    if (a.RowCount() != b.RowCount())
        return false;
    for (int r = 1; r < a.RowCount(); ++r)
        for (int c = 0; c < a.ColumnCount(); ++c)
            if (a.Cell(c, r) != b.Cell(c, r))
                return false;
    return true;
}

// Lone surrogates (possible in UTF-16 input) have no UTF-8 form, so they cannot survive.
bool wellFormed(const velt::Grid& g)
{
    for (int r = 1; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColumnCount(); ++c)
            if (!g.Cell(c, r).isValidUtf16())
                return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     qsizetype(size));
    velt::Grid grid(0, 1);
    try {
        grid.LoadFromCSVData(bytes);
    } catch (const velt::Error&) {
        return 0;
    }
    if (grid.RowCount() < 2 || grid.ColumnCount() < 1)
        std::abort(); // a load that succeeds has at least one line and one field
    velt::Grid again(0, 1);
    again.LoadFromCSVData(grid.ToCSV());
    if (wellFormed(grid) && !sameCells(grid, again))
        std::abort();
    return 0;
}
