// The file tests and the directory creation behind the directory chooser, on
// real directories.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Exception.h"
#include "FileSystem.h"
#include "TempDirectory.h"

namespace {

TEST(FileExists, CountsRegularFilesOnly) {
    TTempDirectory sandbox;
    sandbox.MakeFile("vx_data.vpk");
    sandbox.MakeDirectory("dir\\vx_data.vpk");
    EXPECT_TRUE(FileExists(sandbox.Join("vx_data.vpk")));
    EXPECT_TRUE(FileExists("vx_data.vpk")) << "relative to the current directory";
    EXPECT_FALSE(FileExists(sandbox.Join("dir\\vx_data.vpk")));
    EXPECT_FALSE(FileExists(sandbox.Join("missing")));
    EXPECT_TRUE(DirectoryExists(sandbox.Join("dir")));
    EXPECT_FALSE(DirectoryExists(sandbox.Join("vx_data.vpk")));
    EXPECT_EQ(CurrentDirectory(), sandbox.Path());
}

struct ForceCase {
    const char* name;
    // "<sandbox>" stands for the sandbox's absolute path, "<rootless>" for it without its drive.
    std::string directory;
    bool raises;
    std::vector<std::string> existAfterwards;
    std::vector<std::string> missingAfterwards;
};

class ForceDirectoriesTest : public testing::TestWithParam<ForceCase> {};

std::string Expand(std::string text, const TTempDirectory& sandbox) {
    for (const auto& [marker, value] : {std::pair<std::string, std::string>{"<sandbox>", sandbox.Path()},
                                        std::pair<std::string, std::string>{"<rootless>", sandbox.Path().substr(2)}}) {
        const size_t at = text.find(marker);
        if (at != std::string::npos) text.replace(at, marker.size(), value);
    }
    return text;
}

TEST_P(ForceDirectoriesTest, CreatesTheMissingLevelsOrRaises) {
    TTempDirectory sandbox;
    sandbox.MakeDirectory("have");
    const ForceCase& c = GetParam();
    bool raised = false;
    try {
        ForceDirectories(Expand(c.directory, sandbox));
    } catch (const Exception& e) {
        raised = true;
        EXPECT_EQ(e.Message(), "ディレクトリを作成できません");
    }
    EXPECT_EQ(raised, c.raises);
    for (const auto& path : c.existAfterwards) EXPECT_TRUE(sandbox.Exists(path)) << path;
    for (const auto& path : c.missingAfterwards) EXPECT_FALSE(sandbox.Exists(path)) << path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ForceDirectoriesTest,
    testing::Values(
        ForceCase{"Empty", "", true, {}, {}},
        ForceCase{"AbsoluteWithParents", "<sandbox>\\a\\b\\c", false, {"a\\b\\c"}, {}},
        ForceCase{"TrailingSeparator", "<sandbox>\\x\\", false, {"x"}, {}},
        ForceCase{"Existing", "<sandbox>\\have", false, {"have"}, {}},
        ForceCase{"LeadingSeparatorIsNotRelative", "<rootless>\\r\\s", false, {"r\\s"}, {}},
        ForceCase{"RelativeBelowAnExistingLevel", "have\\new", false, {"have\\new"}, {}},
        ForceCase{"RelativeMissingFirstLevelOfThreeBytes", "abc\\def", true, {}, {"abc"}},
        ForceCase{"RelativeSingleMissingLevel", "newdir", true, {}, {"newdir"}},
        ForceCase{"RelativeMissingFirstLevelOfTwoBytes", "ab\\cd", false, {}, {"ab"}},
        // One kanji is two bytes in code page 932 (three in UTF-8), two kanji four.
        ForceCase{"RelativeOneKanjiFirstLevel", "表\\x", false, {}, {"表"}},
        ForceCase{"RelativeTwoKanjiFirstLevel", "表示\\x", true, {}, {"表示"}}),
    [](const testing::TestParamInfo<ForceCase>& info) { return std::string(info.param.name); });

}  // namespace
