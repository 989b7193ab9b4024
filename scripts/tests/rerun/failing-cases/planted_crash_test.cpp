// Planted failure: a case that ends the process, so no result line names it.
#include <gtest/gtest.h>

#include <cstdlib>

TEST(PlantedCrash, Passes) { SUCCEED(); }

TEST(PlantedCrash, Aborts) { std::abort(); }

TEST(PlantedCrash, NeverRuns) { SUCCEED(); }
