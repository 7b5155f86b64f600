#include "params/ProgramRecord.h"

namespace params {
void applyNameRule(const char* source, char* dest) {
    int n = 0;
    if (source) {
        for (; n < kMaxProgramName; ++n) {
            auto c = static_cast<unsigned char>(source[n]);
            if (c < 32 || c > 127) break;
            dest[n] = static_cast<char>(c);
        }
    }
    dest[n] = 0;
}
}  // namespace params
