// SPDX-License-Identifier: GPL-3.0-or-later
// Test programs' main.
#include <QApplication>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#ifdef VELUNOR_TEST_GUI
    // Test discovery at build time runs the program too, without ctest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
#else
    QCoreApplication application(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
