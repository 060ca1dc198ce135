#pragma once

#include "app/SynthesisSettings.h"
#include "speech/SpeechOutput.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/FakeSpeechSdk.h"
#include "tests/fakes/HeadlessWindow.h"
#include "tests/fakes/RecordingAudioOutput.h"

namespace tarvane {

// What the speech run and the layers above it are wired to in tests: a
// headless window with its settings, a scripted speech library, and an
// output that records the images it would play and the files it would save.
// The option lists start empty; a test fills them when it wants defaults.
struct SpeechRig {
    HeadlessWindow window;
    SynthesisSettings settings{window};
    FakeSpeechSdk sdk;
    RecordingAudioOutput audio;
    FakeFileSystem files;
    SpeechOutput output{window, settings, audio, files};
};

}  // namespace tarvane
