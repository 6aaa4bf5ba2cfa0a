#include "tests/gfx/gdip_test_support.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new pelmora::testing::GdiplusEnvironment);
    return RUN_ALL_TESTS();
}
