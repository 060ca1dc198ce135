#pragma once

namespace speechlib {

// A quiet, slowly swelling chord laid under the speech. Made from sine waves,
// so it needs no sound files, and low enough (about -32 dBFS) never to mask a
// word.
class BackgroundBed {
public:
    explicit BackgroundBed(int sampleRate);

    // The next sample, in [-1, 1]; fades in over the first moments.
    [[nodiscard]] float next();
    // The next sample of a fade-out that reaches silence after `length`
    // samples, `remaining` of them still to come.
    [[nodiscard]] float nextFadingOut(int remaining, int length);

private:
    double m_sampleRate;
    long long m_position = 0;
};

}  // namespace speechlib
