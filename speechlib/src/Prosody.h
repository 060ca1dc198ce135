#pragma once

namespace speechlib {

// Speaking rate in words per minute for speed 0..10. Speed 5 is the engine's
// natural rate; each step of 5 halves or doubles it, so the ends stay
// intelligible.
[[nodiscard]] int wordsPerMinute(int speed);

// Linear gain for volume 0..10: 10 is full scale, 0 silence. The square
// follows loudness better than a straight line, so the low settings are
// still distinct.
[[nodiscard]] double volumeGain(int volume);

}  // namespace speechlib
