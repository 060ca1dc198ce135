#include "platform/audio/AlsaAudioOutput.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <utility>

#include "platform/audio/WavReader.h"

namespace tarvane {
namespace {

using namespace std::chrono_literals;

// How much sound the device buffers ahead; also bounds how long a stop
// waits for a blocked device.
constexpr unsigned kLatencyMicroseconds = 200000;
constexpr int kWaitSliceMilliseconds = 50;
// Extra time a drain may take beyond the sound still buffered before the
// device is taken for stuck.
constexpr auto kDrainGrace = 2s;

// The library prints its complaints to standard error; a machine without a
// sound card would fill the terminal with them. Playback reports nothing.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsaMessages() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(&ignoreAlsaError); });
}

class PcmHandle {
public:
    PcmHandle() = default;
    ~PcmHandle() {
        if (m_pcm != nullptr) {
            snd_pcm_close(m_pcm);
        }
    }
    PcmHandle(const PcmHandle&) = delete;
    PcmHandle& operator=(const PcmHandle&) = delete;

    [[nodiscard]] bool open(const std::string& name) {
        // Non-blocking, so that neither a busy device nor a device that
        // stopped taking samples can hold the worker beyond a stop request.
        return snd_pcm_open(&m_pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) >= 0;
    }
    [[nodiscard]] snd_pcm_t* get() const { return m_pcm; }

private:
    snd_pcm_t* m_pcm = nullptr;
};

// Waits until the device has played what it holds; false when asked to stop
// or when the device stays stuck.
bool drain(snd_pcm_t* pcm, const std::atomic<bool>& stopping) {
    snd_pcm_sframes_t pending = 0;
    if (snd_pcm_delay(pcm, &pending) < 0 || pending < 0) {
        pending = 0;
    }
    unsigned rate = 0;
    snd_pcm_hw_params_t* params = nullptr;
    snd_pcm_hw_params_alloca(&params);
    if (snd_pcm_hw_params_current(pcm, params) == 0) {
        snd_pcm_hw_params_get_rate(params, &rate, nullptr);
    }
    auto buffered = rate > 0 ? std::chrono::milliseconds(pending * 1000 / rate) : 0ms;
    auto deadline = std::chrono::steady_clock::now() + buffered + kDrainGrace;

    int result = snd_pcm_drain(pcm);
    while (result == -EAGAIN && snd_pcm_state(pcm) == SND_PCM_STATE_DRAINING) {
        if (stopping || std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

void play(const std::string& pcmName, const PcmSound& sound, const std::atomic<bool>& stopping) {
    PcmHandle device;
    if (!device.open(pcmName)) {
        return;
    }
    snd_pcm_t* pcm = device.get();
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                           sound.channels, sound.sampleRate, 1, kLatencyMicroseconds) < 0) {
        return;
    }
    const std::size_t frameSize = 2u * sound.channels;
    const snd_pcm_uframes_t frames = sound.samples.size() / frameSize;
    snd_pcm_uframes_t done = 0;
    while (done < frames) {
        if (stopping) {
            snd_pcm_drop(pcm);
            return;
        }
        snd_pcm_sframes_t written =
            snd_pcm_writei(pcm, sound.samples.data() + done * frameSize, frames - done);
        if (written == -EAGAIN) {
            snd_pcm_wait(pcm, kWaitSliceMilliseconds);
            continue;
        }
        if (written < 0) {
            // An underrun or a suspended device can be picked up again;
            // anything else ends this sound.
            if (snd_pcm_recover(pcm, static_cast<int>(written), 1) < 0) {
                return;
            }
            continue;
        }
        done += static_cast<snd_pcm_uframes_t>(written);
    }
    if (!drain(pcm, stopping)) {
        snd_pcm_drop(pcm);
    }
}

}  // namespace

AlsaAudioOutput::AlsaAudioOutput(std::string pcmName) : m_pcmName(std::move(pcmName)) {
    silenceAlsaMessages();
}

AlsaAudioOutput::~AlsaAudioOutput() {
    m_stopping = true;
    std::list<std::unique_ptr<Playback>> playbacks;
    {
        std::lock_guard lock(m_mutex);
        playbacks.swap(m_playbacks);
    }
    for (auto& playback : playbacks) {
        playback->worker.join();
    }
}

void AlsaAudioOutput::playWavImage(const Bytes& wavImage) {
    reapFinished();
    std::optional<PcmSound> sound = readWavImage(wavImage);
    if (!sound) {
        return;
    }
    auto playback = std::make_unique<Playback>();
    Playback* self = playback.get();
    try {
        playback->worker = std::thread([this, self, sound = std::move(*sound)] {
            play(m_pcmName, sound, m_stopping);
            self->finished = true;
        });
    } catch (const std::system_error&) {
        // No thread to be had: this sound stays silent.
        return;
    }
    std::lock_guard lock(m_mutex);
    m_playbacks.push_back(std::move(playback));
}

void AlsaAudioOutput::waitUntilSilent() {
    std::list<std::unique_ptr<Playback>> playbacks;
    {
        std::lock_guard lock(m_mutex);
        playbacks.swap(m_playbacks);
    }
    for (auto& playback : playbacks) {
        playback->worker.join();
    }
}

void AlsaAudioOutput::reapFinished() {
    std::list<std::unique_ptr<Playback>> finished;
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_playbacks.begin(); it != m_playbacks.end();) {
            if ((*it)->finished) {
                auto next = std::next(it);
                finished.splice(finished.end(), m_playbacks, it);
                it = next;
            } else {
                ++it;
            }
        }
    }
    for (auto& playback : finished) {
        playback->worker.join();
    }
}

}  // namespace tarvane
