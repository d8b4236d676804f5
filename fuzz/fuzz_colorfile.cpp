// Colour-file reader under libFuzzer: any bytes either parse or raise velt::Error, and
// whatever parses is written back and read again to the same records.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>

#include "platform/ColorFile.h"
#include "platform/Error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    std::vector<velt::ColorRecord> records;
    try {
        records = velt::ColorFile::parse(bytes, QStringLiteral("fuzz.cds"));
    } catch (const velt::Error&) {
        return 0;
    }
    const QByteArray again = velt::ColorFile::serialize(records);
    if (velt::ColorFile::parse(again, QStringLiteral("again.cds")) != records)
        std::abort();
    return 0;
}
