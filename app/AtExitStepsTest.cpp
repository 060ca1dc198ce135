#include "app/AtExitSteps.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvane {
namespace {

TEST(AtExitStepsTest, RunsEveryStepOnceLatestFirstHoweverOftenItIsAsked) {
    AtExitSteps steps;
    std::string ran;
    steps.add([&] { ran += "a"; });
    steps.add([&] { ran += "b"; });
    EXPECT_FALSE(steps.hasRun());

    steps.run();
    steps.run();

    EXPECT_EQ(ran, "ba");
    EXPECT_TRUE(steps.hasRun());
}

}  // namespace
}  // namespace tarvane
