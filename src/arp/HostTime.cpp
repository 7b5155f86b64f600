#include "arp/HostTime.h"

#include <cmath>

void hostTimeUpdate(ProcessContext& ctx) {
    const VstTimeInfo* info = ctx.timeInfo;
    if (!info || !(info->flags & kVstTempoValid)) return;
    double tempo = info->tempo;
    if (!std::isfinite(tempo)) return;
    tempo = tempo < 1.0 ? 1.0 : (tempo > 300.0 ? 300.0 : tempo);
    if (static_cast<float>(tempo) != ctx.rates.tempo) {
        ctx.rates.tempo = static_cast<float>(tempo);
        ctx.rates.updateTempoDerived();
    }
}
