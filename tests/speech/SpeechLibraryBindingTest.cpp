// The speech library binding over the dynamic linker, with stand-in
// libraries built beside this test.

#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "platform/library/DlopenLibraryLoader.h"
#include "speech/BoundSpeechSdk.h"

namespace tarvane {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Passes loads and lookups through to the real loader, noting each.
class RecordingLoader : public LibraryLoader {
public:
    class Library : public LoadedLibrary {
    public:
        Library(std::unique_ptr<LoadedLibrary> inner, std::vector<std::string>& lookups)
            : m_inner(std::move(inner)), m_lookups(lookups) {}
        [[nodiscard]] void* symbol(const char* name) const override {
            m_lookups.push_back(name);
            return m_inner->symbol(name);
        }

    private:
        std::unique_ptr<LoadedLibrary> m_inner;
        std::vector<std::string>& m_lookups;
    };

    [[nodiscard]] LibraryLoadResult load(const std::string& fileName) override {
        loads.push_back(fileName);
        LibraryLoadResult result = m_real.load(fileName);
        if (result.library) {
            result.library = std::make_unique<Library>(std::move(result.library), lookups);
        }
        return result;
    }

    std::vector<std::string> loads;
    std::vector<std::string> lookups;

private:
    DlopenLibraryLoader m_real;
};

struct FatalRecord {
    std::vector<Text> messages;
    std::vector<int> exitCodes;
};

BoundSpeechSdk boundTo(LibraryLoader& loader, const std::string& file, FatalRecord& record) {
    return BoundSpeechSdk(
        loader, [&record](const Text& message) { record.messages.push_back(message); },
        [&record](int code) { record.exitCodes.push_back(code); }, file);
}

// A folder of its own for one test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        m_path = fs::temp_directory_path() /
                 ("tarvane-library-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~ScratchFolder() { fs::remove_all(m_path); }
    [[nodiscard]] const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

using InitFunction = std::int32_t (*)(const char*);

std::int32_t callInit(const LoadedLibrary& library, const char* config) {
    void* address = library.symbol("QTTSInit");
    if (address == nullptr) {
        return -1;
    }
    InitFunction init;
    std::memcpy(&init, &address, sizeof init);
    return init(config);
}

TEST(SpeechLibraryBindingTest, CallsReachTheLibraryWithTheirArguments) {
    RecordingLoader loader;
    FatalRecord fatal;
    BoundSpeechSdk sdk = boundTo(loader, FAKE_LIBRARY_FILE, fatal);

    EXPECT_EQ(sdk.init("abcdef"), 6);
    const char* id = sdk.sessionBegin("ssm=1", nullptr);
    ASSERT_NE(id, nullptr);
    const std::string sessionId = id;
    EXPECT_EQ(sessionId, "session:ssm=1");
    EXPECT_EQ(sdk.textPut(sessionId.c_str(), "text", 4, ""), 0);
    EXPECT_NE(sdk.textPut(sessionId.c_str(), "text", 3, ""), 0);
    std::uint32_t length = 0;
    std::int32_t status = 0;
    std::int32_t errorCode = -1;
    const void* audio = sdk.audioGet(sessionId.c_str(), &length, &status, &errorCode);
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(status, kAudioStatusComplete);
    EXPECT_EQ(errorCode, 0);
    std::int16_t first = 0;
    std::memcpy(&first, audio, sizeof first);
    EXPECT_EQ(first, 100);
    EXPECT_EQ(sdk.sessionEnd(sessionId.c_str(), "reason"), 0);
    EXPECT_EQ(sdk.fini(), 0);
    EXPECT_THAT(fatal.messages, IsEmpty());
}

TEST(SpeechLibraryBindingTest, EntryPointsAreFoundByNameAtFirstCallAndKept) {
    RecordingLoader loader;
    FatalRecord fatal;
    BoundSpeechSdk sdk = boundTo(loader, FAKE_LIBRARY_FILE, fatal);
    EXPECT_THAT(loader.loads, IsEmpty());

    (void)sdk.init("a");
    (void)sdk.init("b");
    (void)sdk.sessionBegin("p", nullptr);
    (void)sdk.fini();
    (void)sdk.sessionBegin("p", nullptr);
    EXPECT_THAT(loader.loads, ElementsAre(FAKE_LIBRARY_FILE));
    EXPECT_THAT(loader.lookups, ElementsAre("QTTSInit", "QTTSSessionBegin", "QTTSFini"));
}

TEST(SpeechLibraryBindingTest, MissingEntryPointIsFatalOnlyWhenCalled) {
    RecordingLoader loader;
    FatalRecord fatal;
    BoundSpeechSdk sdk = boundTo(loader, PARTIAL_LIBRARY_FILE, fatal);
    EXPECT_EQ(sdk.init("abc"), 3);
    EXPECT_THAT(fatal.messages, IsEmpty());

    std::uint32_t length = 0;
    std::int32_t status = 0;
    std::int32_t errorCode = 0;
    EXPECT_EQ(sdk.audioGet("s", &length, &status, &errorCode), nullptr);
    ASSERT_EQ(fatal.messages.size(), 1u);
    EXPECT_THAT(fatal.messages[0], HasSubstr(std::string(" ") + PARTIAL_LIBRARY_FILE + " "));
    EXPECT_THAT(fatal.messages[0], HasSubstr(" QTTSAudioGet"));
    EXPECT_THAT(fatal.exitCodes, ElementsAre(kSpeechLibraryExitCode));
}

TEST(SpeechLibraryBindingTest, MissingLibraryIsFatalAtTheFirstCall) {
    RecordingLoader loader;
    FatalRecord fatal;
    BoundSpeechSdk sdk = boundTo(loader, "libtarvane_nowhere.so", fatal);
    EXPECT_NE(sdk.init("abc"), 0);
    ASSERT_EQ(fatal.messages.size(), 1u);
    EXPECT_THAT(fatal.messages[0], HasSubstr(" libtarvane_nowhere.so"));
    EXPECT_THAT(fatal.messages[0], HasSubstr(" QTTSInit"));
    EXPECT_THAT(fatal.exitCodes, ElementsAre(kSpeechLibraryExitCode));
}

// Binds the library lacking QTTSAudioGet with the process's real exit and
// calls that entry point.
void callMissingEntryPoint() {
    DlopenLibraryLoader loader;
    BoundSpeechSdk sdk(
        loader, [](const Text& message) { std::cerr << message << std::endl; },
        BoundSpeechSdk::defaultExit(), PARTIAL_LIBRARY_FILE);
    std::uint32_t length = 0;
    std::int32_t status = 0;
    (void)sdk.audioGet("s", &length, &status, nullptr);
}

TEST(SpeechLibraryBindingDeathTest, MissingEntryPointEndsTheProcess) {
    EXPECT_EXIT(callMissingEntryPoint(), ::testing::ExitedWithCode(kSpeechLibraryExitCode),
                "QTTSAudioGet");
}

// ---- where the loader looks ----

TEST(DlopenLibraryLoaderTest, FindsTheLibraryInTheProgramsFolder) {
    // The tests' own folder is on no search path: only the program-folder
    // rule can find the stand-in there.
    DlopenLibraryLoader loader;
    LibraryLoadResult result = loader.load(FAKE_LIBRARY_FILE);
    ASSERT_NE(result.library, nullptr) << result.error;
    EXPECT_EQ(callInit(*result.library, "abcd"), 4);
}

TEST(DlopenLibraryLoaderTest, ProgramsFolderComesBeforeTheSystem) {
    ScratchFolder folder;
    // A file beside the program that shadows a system library's name.
    fs::copy_file(FAKE_LIBRARY_PATH, folder.path() / "libm.so.6");
    DlopenLibraryLoader loader(folder.path().string());
    LibraryLoadResult result = loader.load("libm.so.6");
    ASSERT_NE(result.library, nullptr) << result.error;
    EXPECT_EQ(callInit(*result.library, "xyz"), 3);
}

TEST(DlopenLibraryLoaderTest, FallsBackToTheUsualSearch) {
    ScratchFolder folder;
    DlopenLibraryLoader loader(folder.path().string());
    LibraryLoadResult result = loader.load("libm.so.6");
    ASSERT_NE(result.library, nullptr) << result.error;
    EXPECT_NE(result.library->symbol("cos"), nullptr);
    EXPECT_EQ(result.library->symbol("QTTSInit"), nullptr);
}

TEST(DlopenLibraryLoaderTest, FailuresCarryTheLinkersReason) {
    ScratchFolder folder;
    std::ofstream(folder.path() / "libbroken.so") << "not a library";
    DlopenLibraryLoader loader(folder.path().string());
    struct Case {
        const char* name;
        std::string file;
    };
    const Case cases[] = {
        {"found nowhere", "libtarvane_nowhere.so"},
        // A broken copy beside the program is reported, not silently
        // replaced by another one.
        {"broken copy in the program's folder", "libbroken.so"},
        {"no name", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LibraryLoadResult result = loader.load(c.file);
        EXPECT_EQ(result.library, nullptr);
        EXPECT_FALSE(result.error.empty());
        if (!c.file.empty()) {
            EXPECT_THAT(result.error, HasSubstr(c.file));
        }
    }
}

}  // namespace
}  // namespace tarvane
