#include "BackgroundBed.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace speechlib {

namespace {

constexpr double kLevel = 0.025;
constexpr double kFadeInSeconds = 0.4;
// A G major chord: soft, and clear of the speech formants.
constexpr std::array kPartials{196.0, 246.94, 293.66};
constexpr double kSwellHz = 0.2;

}  // namespace

BackgroundBed::BackgroundBed(int sampleRate) : m_sampleRate(sampleRate) {}

float BackgroundBed::next() {
    const double t = static_cast<double>(m_position++) / m_sampleRate;
    double chord = 0.0;
    for (const double frequency : kPartials) {
        chord += std::sin(2.0 * std::numbers::pi * frequency * t);
    }
    const double swell = 0.75 + 0.25 * std::sin(2.0 * std::numbers::pi * kSwellHz * t);
    const double fadeIn = std::min(1.0, t / kFadeInSeconds);
    return static_cast<float>(kLevel * fadeIn * swell * chord / kPartials.size());
}

float BackgroundBed::nextFadingOut(int remaining, int length) {
    const double fade = length > 0 ? static_cast<double>(remaining) / length : 0.0;
    return static_cast<float>(next() * fade);
}

}  // namespace speechlib
