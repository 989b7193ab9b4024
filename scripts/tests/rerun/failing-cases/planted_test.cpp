// Planted failures: a case that fails and says where it ran, and a parametrized case that fails for
// one value; the others pass.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

TEST(Planted, Passes) { SUCCEED(); }

TEST(Planted, FailsWhereItRuns) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    ADD_FAILURE() << "ran with QT_QPA_PLATFORM=" << (platform ? platform : "") << " in "
                  << std::filesystem::current_path().string();
}

class PlantedSizes : public testing::TestWithParam<int> {};

TEST_P(PlantedSizes, AtMostOne) { EXPECT_LE(GetParam(), 1); }

INSTANTIATE_TEST_SUITE_P(Sizes, PlantedSizes, testing::Values(1, 2));
