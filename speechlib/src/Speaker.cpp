#include "Speaker.h"

#include <new>

#include "AudioPipeline.h"
#include "Prosody.h"
#include "SpeechEngine.h"
#include "msc.h"

namespace speechlib {

namespace {

void speakOrThrow(SpeechEngine& engine, SynthesisJob& job) {
    AudioStream& stream = *job.stream;
    if (stream.isCancelled()) {
        stream.finish({}, MSC_ERROR_CANCELLED);
        return;
    }
    const SessionSettings& settings = job.settings;
    auto pipeline = AudioPipeline::create(engine.sampleRate(), settings.sampleRate,
                                          volumeGain(settings.volume), settings.background);
    if (!pipeline || !engine.selectVoice(engineVoiceName(*settings.voice))) {
        stream.finish({}, MSC_ERROR_ENGINE);
        return;
    }
    engine.setProsody(wordsPerMinute(settings.speed), settings.voice->pitch,
                      settings.voice->pitchRange);

    // The newest block is held back until the next one or the end, so the
    // last chunk the caller sees is never empty and carries the end mark.
    std::vector<std::int16_t> held;
    bool pipelineFailed = false;
    const auto sink = [&](std::span<const std::int16_t> samples) {
        if (stream.isCancelled()) {
            return false;
        }
        auto pcm = pipeline->process(samples);
        if (!pcm) {
            pipelineFailed = true;
            return false;
        }
        if (!pcm->empty()) {
            if (!held.empty()) {
                stream.push(std::move(held));
            }
            held = std::move(*pcm);
        }
        return true;
    };
    const auto markup = settings.textType == TextType::Ssml ? SpeechEngine::Markup::Ssml
                                                            : SpeechEngine::Markup::PlainText;
    const SpeechEngine::Outcome outcome = engine.synthesize(job.utf8Text, markup, sink);

    if (stream.isCancelled()) {
        stream.finish({}, MSC_ERROR_CANCELLED);
        return;
    }
    if (outcome != SpeechEngine::Outcome::Completed || pipelineFailed) {
        stream.finish(std::move(held), MSC_ERROR_ENGINE);
        return;
    }
    auto tail = pipeline->finish();
    if (!tail) {
        stream.finish(std::move(held), MSC_ERROR_ENGINE);
        return;
    }
    held.insert(held.end(), tail->begin(), tail->end());
    stream.finish(std::move(held), MSC_SUCCESS);
}

}  // namespace

void speakJob(SpeechEngine& engine, SynthesisJob& job) {
    try {
        speakOrThrow(engine, job);
    } catch (const std::bad_alloc&) {
        job.stream->finish({}, MSC_ERROR_OUT_OF_MEMORY);
    } catch (...) {
        job.stream->finish({}, MSC_ERROR_ENGINE);
    }
}

}  // namespace speechlib
