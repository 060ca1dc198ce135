#include "speech/BoundSpeechSdk.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "literals/speech_test_literals.h"

namespace tarvane {
namespace {

using namespace literals_speech_test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// What the stand-in entry points saw last.
struct Seen {
    std::string config;
    std::string params;
    bool errorCodeWasNull = false;
    std::string sessionId;
    std::string text;
    std::uint32_t length = 0;
    std::string hints;
    int finiCalls = 0;
};
Seen seen;
const std::uint8_t kChunk[] = {1, 2, 3, 4};

std::int32_t fakeInit(const char* config) {
    seen.config = config;
    return 11;
}
const char* fakeSessionBegin(const char* params, std::int32_t* errorCode) {
    seen.params = params;
    seen.errorCodeWasNull = errorCode == nullptr;
    return "sid-table";
}
std::int32_t fakeTextPut(const char* sessionId, const char* text, std::uint32_t length,
                         const char*) {
    seen.sessionId = sessionId;
    seen.text = text;
    seen.length = length;
    return 12;
}
const void* fakeAudioGet(const char* sessionId, std::uint32_t* length, std::int32_t* status,
                         std::int32_t* errorCode) {
    seen.sessionId = sessionId;
    *length = sizeof kChunk;
    *status = 2;
    *errorCode = 7;
    return kChunk;
}
std::int32_t fakeSessionEnd(const char* sessionId, const char* hints) {
    seen.sessionId = sessionId;
    seen.hints = hints;
    return 13;
}
std::int32_t fakeFini() {
    ++seen.finiCalls;
    return 14;
}

template <typename Function>
void* addressOf(Function function) {
    void* address = nullptr;
    std::memcpy(&address, &function, sizeof address);
    return address;
}

const std::map<std::string, void*>& allEntryPoints() {
    static const std::map<std::string, void*> table = {
        {"QTTSInit", addressOf(&fakeInit)},
        {"QTTSSessionBegin", addressOf(&fakeSessionBegin)},
        {"QTTSTextPut", addressOf(&fakeTextPut)},
        {"QTTSAudioGet", addressOf(&fakeAudioGet)},
        {"QTTSSessionEnd", addressOf(&fakeSessionEnd)},
        {"QTTSFini", addressOf(&fakeFini)},
    };
    return table;
}

// A loader whose one library is a table of symbols; it records every load
// and every lookup.
class TableLoader : public LibraryLoader {
public:
    class Library : public LoadedLibrary {
    public:
        explicit Library(TableLoader& loader) : m_loader(loader) {}
        [[nodiscard]] void* symbol(const char* name) const override {
            m_loader.lookups.push_back(name);
            auto found = m_loader.symbols.find(name);
            return found != m_loader.symbols.end() ? found->second : nullptr;
        }

    private:
        TableLoader& m_loader;
    };

    [[nodiscard]] LibraryLoadResult load(const std::string& fileName) override {
        loads.push_back(fileName);
        if (!present) {
            return {nullptr, reason};
        }
        return {std::make_unique<Library>(*this), {}};
    }

    bool present = true;
    std::string reason;
    std::map<std::string, void*> symbols = allEntryPoints();
    std::vector<std::string> loads;
    std::vector<std::string> lookups;
};

class BoundSpeechSdkTest : public ::testing::Test {
protected:
    BoundSpeechSdkTest() { seen = {}; }

    TableLoader loader;
    std::vector<Text> reported;
    std::vector<int> exitCodes;
    BoundSpeechSdk sdk{loader, [this](const Text& message) { reported.push_back(message); },
                       [this](int code) { exitCodes.push_back(code); }};
};

TEST_F(BoundSpeechSdkTest, NothingIsLoadedBeforeTheFirstCall) {
    EXPECT_THAT(loader.loads, IsEmpty());
}

TEST_F(BoundSpeechSdkTest, EachEntryPointIsLookedUpByNameAtItsFirstCallOnly) {
    EXPECT_EQ(sdk.init("config"), 11);
    EXPECT_EQ(sdk.init("config"), 11);
    EXPECT_THAT(loader.loads, ElementsAre(std::string(kSpeechLibraryFile)));
    EXPECT_THAT(loader.lookups, ElementsAre("QTTSInit"));
    (void)sdk.fini();
    (void)sdk.fini();
    EXPECT_THAT(loader.loads, ElementsAre(std::string(kSpeechLibraryFile)));
    EXPECT_THAT(loader.lookups, ElementsAre("QTTSInit", "QTTSFini"));
}

TEST_F(BoundSpeechSdkTest, ArgumentsAndResultsPassUnchanged) {
    EXPECT_EQ(sdk.init("server_url=x"), 11);
    EXPECT_EQ(seen.config, "server_url=x");
    EXPECT_STREQ(sdk.sessionBegin("ssm=1", nullptr), "sid-table");
    EXPECT_EQ(seen.params, "ssm=1");
    EXPECT_TRUE(seen.errorCodeWasNull);
    EXPECT_EQ(sdk.textPut("sid", "text", 4, ""), 12);
    EXPECT_EQ(seen.text, "text");
    EXPECT_EQ(seen.length, 4u);
    std::uint32_t length = 0;
    std::int32_t status = 0;
    std::int32_t errorCode = 0;
    EXPECT_EQ(sdk.audioGet("sid", &length, &status, &errorCode), kChunk);
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(errorCode, 7);
    EXPECT_EQ(sdk.sessionEnd("sid", "why"), 13);
    EXPECT_EQ(seen.hints, "why");
    EXPECT_EQ(sdk.fini(), 14);
    EXPECT_THAT(reported, IsEmpty());
}

TEST_F(BoundSpeechSdkTest, MissingEntryPointIsFatalAndNamesFileAndEntryPoint) {
    using Call = std::function<void(BoundSpeechSdk&)>;
    struct Case {
        const char* entry;
        Call call;
    };
    std::uint32_t length = 0;
    std::int32_t status = 0;
    const Case cases[] = {
        {"QTTSInit", [](BoundSpeechSdk& s) { EXPECT_NE(s.init("c"), 0); }},
        {"QTTSSessionBegin",
         [](BoundSpeechSdk& s) { EXPECT_EQ(s.sessionBegin("p", nullptr), nullptr); }},
        {"QTTSTextPut", [](BoundSpeechSdk& s) { EXPECT_NE(s.textPut("s", "t", 1, ""), 0); }},
        {"QTTSAudioGet",
         [&](BoundSpeechSdk& s) {
             EXPECT_EQ(s.audioGet("s", &length, &status, nullptr), nullptr);
         }},
        {"QTTSSessionEnd", [](BoundSpeechSdk& s) { EXPECT_NE(s.sessionEnd("s", "h"), 0); }},
        {"QTTSFini", [](BoundSpeechSdk& s) { EXPECT_NE(s.fini(), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        TableLoader partial;
        partial.symbols.erase(c.entry);
        std::vector<Text> messages;
        std::vector<int> codes;
        BoundSpeechSdk bound{partial, [&](const Text& m) { messages.push_back(m); },
                             [&](int code) { codes.push_back(code); }};
        // The others still work: only the missing one is fatal.
        if (std::string(c.entry) != "QTTSFini") {
            (void)bound.fini();
        } else {
            (void)bound.init("c");
        }
        ASSERT_THAT(messages, IsEmpty()) << "the present ones bind quietly";
        c.call(bound);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_THAT(messages[0], HasSubstr(std::string(" libmsc.so ")));
        EXPECT_THAT(messages[0], HasSubstr(std::string(" ") + c.entry));
        ASSERT_EQ(codes.size(), 1u);
        EXPECT_NE(codes[0], 0);
    }
}

TEST_F(BoundSpeechSdkTest, MissingEntryPointMessageReadsWhole) {
    loader.symbols.erase("QTTSFini");
    (void)sdk.fini();
    EXPECT_THAT(reported, ElementsAre(Text(kExpectEntryMissing)));
}

TEST_F(BoundSpeechSdkTest, MissingLibraryIsFatalAndKeepsOnlyTheAsciiOfTheReason) {
    loader.present = false;
    // The loader's reason is in the system's encoding; its non-ASCII part
    // could not be shown as code page 936 text.
    loader.reason = "libmsc.so: cannot open \xE6\x96\x87 file";
    EXPECT_NE(sdk.init("c"), 0);
    EXPECT_THAT(reported, ElementsAre(Text(kExpectLibraryMissing)));
    EXPECT_THAT(exitCodes, ElementsAre(kSpeechLibraryExitCode));
}

// Binds with the process's real exit and calls into a library that is not
// there.
void callWithoutLibrary() {
    TableLoader loader;
    loader.present = false;
    BoundSpeechSdk sdk(loader, [](const Text& message) { std::cerr << message << std::endl; });
    (void)sdk.init("c");
}

TEST(BoundSpeechSdkDeathTest, RealExitEndsTheProcessWithAFailureCode) {
    EXPECT_EXIT(callWithoutLibrary(), ::testing::ExitedWithCode(kSpeechLibraryExitCode),
                "libmsc.so");
}

}  // namespace
}  // namespace tarvane
