// The check and decode commands of the built hemorune-assets tool, run on files in a temp folder.
#include "png_oracle.h"
#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string output;
};

ToolRun runTool(const std::string& arguments) {
    const std::string command =
        std::string("'") + HEMORUNE_TOOLS_DIR + "/hemorune-assets' " + arguments + " 2>/dev/null";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        run.output += buffer;
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class AssetsTool : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("hemorune-assets-test-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "IMGS");
        good = readFileBytes(pngSuiteDirectory() + "/basi3p04.png");
        ASSERT_FALSE(good.empty());
        writeBytes(folder / "IMGS" / "menu.png", good);
        writeBytes(folder / "notes.txt", {'h', 'i'});
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    std::vector<unsigned char> good;
};

TEST_F(AssetsTool, CheckListsEachBrokenPictureAndFails) {
    writeBytes(folder / "short.png", std::vector<unsigned char>(good.begin(), good.begin() + 20));
    std::vector<unsigned char> noEnd(good.begin(), good.end() - 12);
    writeBytes(folder / "IMGS" / "cut.PNG", noEnd);

    const ToolRun failing = runTool("check '" + folder.string() + "'");
    EXPECT_EQ(failing.status, 1) << failing.output;
    EXPECT_NE(failing.output.find("short.png: error 27: "), std::string::npos) << failing.output;
    EXPECT_NE(failing.output.find("cut.PNG: error 30: "), std::string::npos) << failing.output;
    EXPECT_EQ(failing.output.find("menu.png"), std::string::npos) << failing.output;
    EXPECT_NE(failing.output.find("3 PNG files checked, 2 failed"), std::string::npos)
        << failing.output;

    fs::remove(folder / "short.png");
    fs::remove(folder / "IMGS" / "cut.PNG");
    const ToolRun passing = runTool("check '" + folder.string() + "'");
    EXPECT_EQ(passing.status, 0) << passing.output;
    EXPECT_NE(passing.output.find("1 PNG files checked, 0 failed"), std::string::npos)
        << passing.output;
}

TEST_F(AssetsTool, CheckLoadsEverySoundThroughTheGamesSoundPath) {
    fs::copy_file(fs::path(HEMORUNE_RUN_DIR) / "pig.wav", folder / "pig.wav");
    writeBytes(folder / "HIT.WAV", {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v'});

    const ToolRun failing = runTool("check '" + folder.string() + "'");
    EXPECT_EQ(failing.status, 1) << failing.output;
    EXPECT_NE(failing.output.find("HIT.WAV: "), std::string::npos) << failing.output;
    EXPECT_EQ(failing.output.find("pig.wav: "), std::string::npos) << failing.output;
    EXPECT_NE(failing.output.find("2 WAV files checked, 1 failed"), std::string::npos)
        << failing.output;

    fs::remove(folder / "HIT.WAV");
    const ToolRun passing = runTool("check '" + folder.string() + "'");
    EXPECT_EQ(passing.status, 0) << passing.output;
    EXPECT_NE(passing.output.find("1 WAV files checked, 0 failed"), std::string::npos)
        << passing.output;
}

TEST_F(AssetsTool, DecodeWritesTheRowsLibpngSees) {
    const fs::path out = folder / "menu.rgba";
    const ToolRun run =
        runTool("decode '" + (folder / "IMGS" / "menu.png").string() + "' '" + out.string() + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "32 32 0\n");
    OraclePicture expected;
    ASSERT_TRUE(decodeWithLibpng(good, expected));
    EXPECT_TRUE(readFileBytes(out.string()) == expected.rgba);
}

TEST_F(AssetsTool, DecodeReportsTheErrorWithTheHeaderSize) {
    std::vector<unsigned char> broken = good;
    broken[25] = 5; // colour type 5, after width and height were read
    writeBytes(folder / "broken.png", broken);
    const ToolRun run = runTool("decode '" + (folder / "broken.png").string() + "' '" +
                                (folder / "broken.rgba").string() + "'");
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.output, "32 32 31\n");
}

} // namespace
