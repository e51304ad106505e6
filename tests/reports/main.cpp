// Test entry: the program's application object on the offscreen platform,
// with a configuration folder of its own.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ui/app.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    ui::Application application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
