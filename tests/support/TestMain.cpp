#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdlib>

#include "TempDir.h"

// Every test program starts with a home and a user root directory of its own,
// so no test reads or writes the real home.
int main(int argc, char **argv)
{
    TempDir home;
    home.write("home/.keep", {});
    home.write("root/.keep", {});
    setenv("HOME", home.file("home").constData(), 1);
    setenv("FERNHOLLOW_ROOT_USER_DIR", home.file("root").constData(), 1);
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
