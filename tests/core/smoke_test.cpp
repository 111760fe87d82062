#include <gtest/gtest.h>

#include "core/CLogger.h"

TEST(Build, EngineLibraryLinks) {
    CLogger logger;
    SUCCEED();
}
