#include "ProgramStart.h"

#include "CliContext.h"

#include "address/PlaceTable.h"
#include "core/MainState.h"
#include "core/Startup.h"
#include "shiplist/FaHuoSet.h"

namespace mldd::cli {

bool startProgram(MainState& state) {
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    hooks.defaultShippingDesign = DefaultFaHuoSet;
    const StartupResult started = startUp(state, QString(), hooks);
    if (!started.ok)
        writeError(started.failure->text + u'\n');
    return started.ok;
}

} // namespace mldd::cli
