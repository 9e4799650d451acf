// Each step of the rewrite fails, or the process dies there: the list on disk is always either the
// old or the new one, complete.
#include "scores/high_scores.h"
#include "scores/score_fixtures.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

enum class Step { none, createTemp, write, sync, close, rename };
enum class Fault { fail, die };

// Thrown where the process would have died: nothing after it runs, not even a clean-up.
struct Died {};

struct FaultPlan {
    Step step = Step::none;
    Fault fault = Fault::fail;
    int writes = 0;
    std::vector<Step> calls;
};

FaultPlan plan;

// Returns true when the step is to fail with EIO.
bool strikes(Step step) {
    plan.calls.push_back(step);
    if (plan.step != step) {
        return false;
    }
    errno = EIO;
    return plan.fault == Fault::fail;
}

int faultyCreateTemp(char* pathTemplate) {
    if (strikes(Step::createTemp)) {
        return -1;
    }
    const int fd = ::mkstemp(pathTemplate);
    if (plan.step == Step::createTemp) {
        throw Died{};
    }
    return fd;
}

// The first write goes half through; the fault strikes at the second.
ssize_t faultyWrite(int fd, const void* data, std::size_t size) {
    if (plan.step == Step::write && plan.writes++ == 0) {
        plan.calls.push_back(Step::write);
        return ::write(fd, data, size / 2);
    }
    if (strikes(Step::write)) {
        return -1;
    }
    if (plan.step == Step::write) {
        throw Died{};
    }
    return ::write(fd, data, size);
}

int faultySync(int fd) {
    if (strikes(Step::sync)) {
        return -1;
    }
    if (plan.step == Step::sync) {
        throw Died{};
    }
    return ::fsync(fd);
}

int faultyClose(int fd) {
    if (strikes(Step::close)) {
        ::close(fd);
        return -1;
    }
    const int result = ::close(fd);
    if (plan.step == Step::close) {
        throw Died{};
    }
    return result;
}

// Dying at the rename means dying just after it: the rename itself is all or nothing.
int faultyRename(const char* from, const char* to) {
    if (strikes(Step::rename)) {
        return -1;
    }
    const int result = std::rename(from, to);
    if (plan.step == Step::rename) {
        throw Died{};
    }
    return result;
}

constexpr HighScoreFileOps faultyOps = {faultyCreateTemp, faultyWrite,  faultySync,
                                        faultyClose,      faultyRename, ::unlink};

const std::string oldList = "Ann           300\nBob           200";
const std::string newList = "Ann           300\nNew           250\nBob           200";

struct FaultCase {
    const char* label;
    Step step;
    Fault fault;
    const std::string* expected;
};

class RewriteFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(RewriteFault, LeavesAWholeList) {
    const TempDir dir;
    const std::string path = dir.file("hiscore.txt");
    writeFile(path, oldList);
    plan = FaultPlan{};
    plan.step = GetParam().step;
    plan.fault = GetParam().fault;

    HighScoreState scores;
    scores.reloadHighScores = false;
    bool died = false;
    try {
        recordHighScore(scores, "New", 250, path, faultyOps);
    } catch (const Died&) {
        died = true;
    }

    EXPECT_EQ(died, GetParam().fault == Fault::die);
    EXPECT_EQ(readFile(path), *GetParam().expected);
    if (!died) {
        // A refused rewrite cleans up after itself, and the game goes on.
        EXPECT_TRUE(scores.reloadHighScores);
        EXPECT_EQ(listDirectory(dir.path), std::vector<std::string>{"hiscore.txt"});
    }
    // Whatever was left behind, the next game records normally.
    recordHighScore(scores, "Next", 275, path);
    const std::string rest = *GetParam().expected == newList ? "New           250\n" : "";
    EXPECT_EQ(readFile(path),
              "Ann           300\nNext          275\n" + rest + "Bob           200");
}

INSTANTIATE_TEST_SUITE_P(
    HighScoreFile, RewriteFault,
    ::testing::Values(FaultCase{"open_fails", Step::createTemp, Fault::fail, &oldList},
                      FaultCase{"write_fails_half_way", Step::write, Fault::fail, &oldList},
                      FaultCase{"sync_fails", Step::sync, Fault::fail, &oldList},
                      FaultCase{"close_fails", Step::close, Fault::fail, &oldList},
                      FaultCase{"rename_fails", Step::rename, Fault::fail, &oldList},
                      FaultCase{"dies_after_open", Step::createTemp, Fault::die, &oldList},
                      FaultCase{"dies_half_way_through_write", Step::write, Fault::die, &oldList},
                      FaultCase{"dies_after_sync", Step::sync, Fault::die, &oldList},
                      FaultCase{"dies_after_close", Step::close, Fault::die, &oldList},
                      FaultCase{"dies_after_rename", Step::rename, Fault::die, &newList}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(HighScoreFile, SyncsTheNewFileBeforeTheRename) {
    const TempDir dir;
    const std::string path = dir.file("hiscore.txt");
    writeFile(path, oldList);
    plan = FaultPlan{};
    HighScoreState scores;
    recordHighScore(scores, "New", 250, path, faultyOps);
    EXPECT_EQ(readFile(path), newList);
    EXPECT_EQ(plan.calls, (std::vector<Step>{Step::createTemp, Step::write, Step::sync, Step::close,
                                             Step::rename}));
}

} // namespace
