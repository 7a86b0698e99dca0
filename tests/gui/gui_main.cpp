#include "support/test_env.h"

#include "ui/style.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    korbisto::test::isolateEnvironment();
    // Windows are driven without a screen, also when the tests are listed.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    korbisto::ui::applyStyle(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
