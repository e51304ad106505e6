// The entry of every test binary that needs Qt: the program's application
// object on Qt's offscreen platform, and a configuration folder of its own
// (XDG_CONFIG_HOME) so that no test reads or writes the user's settings.
#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <cstdio>

#include "ui/app.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    if (!config.isValid()) {
        std::fprintf(stderr, "no temporary configuration folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    ui::Application application(argc, argv);
    return RUN_ALL_TESTS();
}
