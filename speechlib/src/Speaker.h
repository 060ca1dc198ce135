#pragma once

#include "SynthesisWorker.h"

namespace speechlib {

class SpeechEngine;

// Speaks one job on the engine and publishes its audio, the end included:
// whatever happens, the job's stream is finished when this returns.
void speakJob(SpeechEngine& engine, SynthesisJob& job);

}  // namespace speechlib
