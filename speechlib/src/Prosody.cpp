#include "Prosody.h"

#include <algorithm>
#include <cmath>

namespace speechlib {

namespace {
constexpr double kNaturalWordsPerMinute = 175.0;
}

int wordsPerMinute(int speed) {
    const int clamped = std::clamp(speed, 0, 10);
    return static_cast<int>(std::lround(kNaturalWordsPerMinute * std::exp2((clamped - 5) / 5.0)));
}

double volumeGain(int volume) {
    const double fraction = std::clamp(volume, 0, 10) / 10.0;
    return fraction * fraction;
}

}  // namespace speechlib
