// main() of the display tests: every test process gets its own Xvfb server.
#include <gtest/gtest.h>

#include "tests/support/Desktop.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();  // listing needs no display
    PrivateDisplay display;
    return RUN_ALL_TESTS();
}
