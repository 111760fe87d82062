// Relative data paths: the working directory first, then the data roots.
#include <gtest/gtest.h>

#include "core/DataPath.h"
#include "support/test_paths.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

TEST(DataPath, WorkingDirectoryFirstThenTheDataRootsThenTheNameUnchanged) {
    const std::string root = zarvo_test::MakeTempDir("data-root");
    const std::string work = zarvo_test::MakeTempDir("data-work");
    ASSERT_EQ(std::system(("mkdir -p " + root + "/Data " + work + "/Data").c_str()), 0);
    std::ofstream(root + "/Data/only-in-root.txt") << "root";
    std::ofstream(root + "/Data/both.txt") << "root";
    std::ofstream(work + "/Data/both.txt") << "work";

    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(chdir(work.c_str()), 0);
    setenv("ZARVO_DATA_DIR", root.c_str(), 1);
    EXPECT_EQ(ResolveDataPath("Data/both.txt"), "Data/both.txt");
    EXPECT_EQ(ResolveDataPath("Data/only-in-root.txt"), root + "/Data/only-in-root.txt");
    EXPECT_EQ(ResolveDataPath("Data/nowhere.txt"), "Data/nowhere.txt");
    EXPECT_EQ(ResolveDataPath("/no/such/absolute.txt"), "/no/such/absolute.txt");
    EXPECT_EQ(ResolveDataPath(""), "");
    ASSERT_FALSE(DataRoots().empty());
    EXPECT_EQ(DataRoots().front(), root);

    // The variable stands alone: a root that does not exist leaves the name as it was.
    setenv("ZARVO_DATA_DIR", (root + "/missing").c_str(), 1);
    EXPECT_EQ(ResolveDataPath("Data/only-in-root.txt"), "Data/only-in-root.txt");
    unsetenv("ZARVO_DATA_DIR");
    ASSERT_EQ(chdir(saved), 0);
}
