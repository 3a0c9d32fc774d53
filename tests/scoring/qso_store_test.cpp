#include "test_support.h"
#include "plugin/exports.h"
TEST_F(ScratchDirTest, Placeholder) { EXPECT_EQ(1, HostAdd(HostQso{})); }
