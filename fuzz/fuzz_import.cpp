// Any bytes a user could pick as a segment file: loaded, recognised, checked, and when
// valid, processed and put through the match outputs. Nothing may crash or hang.

#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "analysis/Outputs.h"
#include "analysis/Pipeline.h"
#include "datafiles/Import.h"
#include "platform/Error.h"
#include "platform/ScriptedDialogs.h"
#include "shell/Host.h"
#include "shell/SharedState.h"

namespace {

class FuzzHost : public velt::Host {
public:
    velt::Dialogs& dialogs() override { return scripted; }
    velt::ScriptedDialogs scripted;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    velt::SharedState state;
    velt::initialiseState(state, QLocale(QLocale::English, QLocale::UnitedStates));
    FuzzHost host;
    try {
        state.tmsGrid.LoadFromCSVData(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const velt::Error&) {
        return 0;
    }
    if (!velt::finishSegmentLoad(state, host, QStringLiteral("/nonexistent/fuzz.csv")))
        return 0;
    state.Settings.DeleteRows = (size % 2) == 0;
    velt::ProcessFile(state, host);
    state.tmsGrid.SetSelection(velt::CellRange{0, 1, 6, 1});
    velt::outputSingleSegment(state, host);
    velt::outputByChromosome(state, host);
    velt::outputByName(state, host);
    return 0;
}
