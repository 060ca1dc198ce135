#pragma once

// The synthesis and schedule settings. They live only in the main window's
// controls: every reader reads the control when it needs the value.

#include "platform/Toolkit.h"
#include "text/Text.h"

namespace tarvane {

// Selects the first item, from the top, whose text begins with `prefix`
// ignoring ASCII case; leaves the selection alone when none does. Raises no
// event.
void selectByText(OptionList& list, const Text& prefix);

class SynthesisSettings {
public:
    explicit SynthesisSettings(Toolkit& window);

    // Puts every fixed item into the lists, then applies the defaults.
    void fillOptionLists();
    void applyDefaults();
    // Refills the voices of the selected engine and selects its default.
    void refillVoices();
    // Refills the levels of the selected audio encoding and selects its default.
    void refillCompressionLevels();
    // True when a voice and a compression level are selected.
    [[nodiscard]] bool isSynthesisComplete() const;
    // The session parameter text from the current selections.
    [[nodiscard]] Text buildSessionParams() const;

    // 8000 for the first audio format, 16000 for any other selection or none.
    [[nodiscard]] int sampleRate() const;
    // Inclusive announcement range: the selection indices of the hour lists.
    [[nodiscard]] int firstHour() const;
    [[nodiscard]] int lastHour() const;

private:
    Toolkit& m_window;
};

}  // namespace tarvane
