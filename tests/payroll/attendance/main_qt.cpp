// The pay-data window runs headless on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/app.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    ui::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
