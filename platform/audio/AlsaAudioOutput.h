#pragma once

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/AudioOutput.h"

namespace tarvane {

// Plays WAV images through ALSA. Every sound gets a worker thread of its own
// with its own device handle, so sounds overlap instead of cutting each
// other off or queueing. A device that cannot be opened means silence.
class AlsaAudioOutput : public AudioOutput {
public:
    // `pcmName` is the ALSA device to play on; "default" is the user's
    // chosen output.
    explicit AlsaAudioOutput(std::string pcmName = "default");
    // Stops the sounds still playing and waits for their workers.
    ~AlsaAudioOutput() override;
    AlsaAudioOutput(const AlsaAudioOutput&) = delete;
    AlsaAudioOutput& operator=(const AlsaAudioOutput&) = delete;

    // Copies the samples and returns; an image that is not 16-bit PCM or has
    // no samples is not played.
    void playWavImage(const Bytes& wavImage) override;

    // Blocks until every sound started so far has played to its end.
    void waitUntilSilent();

private:
    struct Playback {
        std::thread worker;
        std::atomic<bool> finished{false};
    };

    // Joins the workers whose sound has ended, so they do not pile up.
    void reapFinished();

    std::string m_pcmName;
    std::atomic<bool> m_stopping{false};
    std::mutex m_mutex;
    std::list<std::unique_ptr<Playback>> m_playbacks;
};

}  // namespace tarvane
