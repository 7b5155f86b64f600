#include "arp/ArpModes.h"

namespace {
// 0, 1, .., m, m - 1, .., 1, 0, 1, ..
int bounce(int count, int counter) {
    const int m = count - 1;
    if (m <= 0) return 0;
    const int g = counter % (2 * m);
    return g <= m ? g : 2 * m - g;
}
}  // namespace

int arpPosition(int mode, int count, int counter, Random15& random) {
    switch (mode) {
        case arpmode::Down:
        case arpmode::ReverseOrdered:
            return count - 1 - counter % count;
        case arpmode::UpDown:
        case arpmode::OrderedUpDown:
            return bounce(count, counter);
        case arpmode::DownUp:
        case arpmode::OrderedDownUp:
            return count - 1 - bounce(count, counter);
        case arpmode::Random:
            return static_cast<int>(random.uniform() * (static_cast<float>(count) - 0.01f));
        default:
            return counter % count;
    }
}

int arpCycleLength(int mode, int count) {
    const bool bounces = mode == arpmode::UpDown || mode == arpmode::DownUp ||
                         mode == arpmode::OrderedUpDown || mode == arpmode::OrderedDownUp;
    return bounces && count > 1 ? 2 * (count - 1) : count;
}
