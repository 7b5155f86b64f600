// Follows the host's tempo from the time information of the current block.
#pragma once

#include "engine/ProcessContext.h"

// Every 16 ticks: with a valid host tempo, keep the tempo (clamped to 1..300
// beats per minute) and the tempo-derived constants in step with the host.
void hostTimeUpdate(ProcessContext& ctx);
