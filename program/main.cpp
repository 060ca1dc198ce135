// Tarvane: builds the real adapters, hands them to the program's lifecycle
// and runs the main window until it closes.

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

#include "announce/AnnouncementText.h"
#include "announce/Scheduler.h"
#include "app/Application.h"
#include "app/SynthesisSettings.h"
#include "app/WindowDeclaration.h"
#include "deployment/Deployment.h"
#include "platform/audio/AlsaAudioOutput.h"
#include "platform/clock/SystemClock.h"
#include "platform/codepage/IconvCodePage.h"
#include "platform/files/PosixFileSystem.h"
#include "platform/http/CurlHttpClient.h"
#include "platform/library/DlopenLibraryLoader.h"
#include "platform/qt/QtToolkit.h"
#include "speech/BoundSpeechSdk.h"
#include "speech/SpeechOutput.h"
#include "speech/SynthesisRun.h"

int main(int argc, char* argv[]) {
    using namespace tarvane;

    QApplication qtApplication(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("tarvane"));

    IconvCodePage codePage;
    QtToolkit window(mainWindowDeclaration(), codePage, QIcon(QStringLiteral(":/tarvane.ico")));

    SystemClock clock;
    // A real build trusts the system store alone; a test build may name
    // its own authority as well.
    CurlHttpClient http(CurlHttpOptions{.extraCaFile = deployment::kExtraCaFile});
    AlsaAudioOutput audio;
    PosixFileSystem files(codePage);
    DlopenLibraryLoader loader;

    // Ends the process at once, as the tray menu's exit asks: no window
    // close, no library shutdown, nothing left to run.
    const Application::ProcessExit endProcess = [](int exitCode) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    };
    // The speech library is first called while the window is being created,
    // when the lifecycle exists; a library that cannot be bound ends the
    // program through it, so the at-exit steps run on that path too.
    Application* lifecycle = nullptr;
    BoundSpeechSdk sdk(
        loader, [&window](const Text& message) { window.reportFatalError(message); },
        [&lifecycle, &endProcess](int exitCode) {
            if (lifecycle != nullptr) {
                lifecycle->endProgram(exitCode);
            }
            endProcess(exitCode);
        });

    SynthesisSettings settings(window);
    SpeechOutput output(window, settings, audio, files);
    SynthesisRun synthesis(sdk, window, settings, output);
    AnnouncementText texts(window, http, codePage);
    Scheduler scheduler(window, clock, settings, synthesis, texts);

    // Registers the at-exit step before the window loads.
    Application application(window, sdk, settings, synthesis, scheduler, endProcess);
    lifecycle = &application;

    window.load(application);
    return window.run();
}
