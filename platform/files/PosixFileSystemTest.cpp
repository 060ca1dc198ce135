#include "platform/files/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/CodePage.h"

namespace tarvane {
namespace {

namespace fs = std::filesystem;

// 合成语音 and 程序 in code page 936 and in UTF-8.
const char kGbkName[] = "\xBA\xCF\xB3\xC9\xD3\xEF\xD2\xF4";
const char kUtf8Name[] = "\xE5\x90\x88\xE6\x88\x90\xE8\xAF\xAD\xE9\x9F\xB3";
const char kGbkFolder[] = "\xB3\xCC\xD0\xF2";
const char kUtf8Folder[] = "\xE7\xA8\x8B\xE5\xBA\x8F";

// Converts the few words these tests use and passes ASCII through.
class WordCodePage : public CodePage {
public:
    [[nodiscard]] Text utf8ToGbk(std::string_view utf8) const override { return swap(utf8, 1, 0); }
    [[nodiscard]] std::string gbkToUtf8(std::string_view gbk) const override {
        return swap(gbk, 0, 1);
    }

private:
    static std::string swap(std::string_view text, int from, int to) {
        const std::pair<std::string, std::string> words[] = {{kGbkName, kUtf8Name},
                                                             {kGbkFolder, kUtf8Folder}};
        std::string out(text);
        for (const auto& word : words) {
            const std::string& sought = from == 0 ? word.first : word.second;
            const std::string& put = to == 0 ? word.first : word.second;
            for (std::size_t at = out.find(sought); at != std::string::npos;
                 at = out.find(sought, at + put.size())) {
                out.replace(at, sought.size(), put);
            }
        }
        return out;
    }
};

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PosixFileSystemTest : public ::testing::Test {
protected:
    PosixFileSystemTest() {
        folder = fs::temp_directory_path() /
                 ("tarvane-files-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~PosixFileSystemTest() override { fs::remove_all(folder); }

    WordCodePage codePage;
    PosixFileSystem files{codePage};
    fs::path folder;
};

TEST_F(PosixFileSystemTest, ProgramFolderIsTheExecutablesFolder) {
    const fs::path executable = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(files.programFolder(), executable.parent_path().string());
    EXPECT_EQ(files.pathSeparator(), "/");
}

TEST_F(PosixFileSystemTest, WriteReplacesTheWholeFile) {
    const Text path = folder.string() + "/out.wav";
    struct Case {
        const char* name;
        Bytes contents;
    };
    // Each write follows the one before: a shorter image must not leave the
    // tail of a longer one behind.
    const Case cases[] = {
        {"creates", Bytes(300, 0xAB)},
        {"shorter overwrites, never appends", {1, 0, 2}},
        {"empty truncates", {}},
        {"longer again", Bytes(44, 0x01)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(files.writeWholeFile(path, c.contents));
        EXPECT_EQ(readFile(path), c.contents);
    }
}

TEST_F(PosixFileSystemTest, ChineseNamesAreWrittenInTheFileSystemsEncoding) {
    fs::create_directories(folder / kUtf8Folder);
    const Text path = folder.string() + "/" + kGbkFolder + "/" + kGbkName + ".wav";
    ASSERT_TRUE(files.writeWholeFile(path, {7, 8}));
    EXPECT_EQ(readFile(folder / kUtf8Folder / (std::string(kUtf8Name) + ".wav")), (Bytes{7, 8}));
}

TEST_F(PosixFileSystemTest, FailuresReportFalse) {
    fs::create_directories(folder / "a-folder");
    struct Case {
        const char* name;
        Text path;
    };
    const Case cases[] = {
        {"missing folder", folder.string() + "/no-such-folder/out.wav"},
        {"path is a folder", folder.string() + "/a-folder"},
        {"empty path", ""},
        // Root ignores permission bits, so a read-only file system stands in
        // for a folder without write access.
        {"read-only file system", "/proc/tarvane-out.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(files.writeWholeFile(c.path, {1, 2, 3}));
    }
}

TEST_F(PosixFileSystemTest, FileLockedByAnotherWriterIsLeftWhole) {
    const Text path = folder.string() + "/locked.wav";
    ASSERT_TRUE(files.writeWholeFile(path, {1, 2, 3, 4}));
    const int other = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    EXPECT_FALSE(files.writeWholeFile(path, {9}));
    close(other);
    // Not truncated before the lock was refused.
    EXPECT_EQ(readFile(path), (Bytes{1, 2, 3, 4}));
    EXPECT_TRUE(files.writeWholeFile(path, {9}));
    EXPECT_EQ(readFile(path), (Bytes{9}));
}

}  // namespace
}  // namespace tarvane
