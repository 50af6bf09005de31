// Main of every test program. Widget tests (BANDWERK_TEST_WIDGETS) get a QApplication on the
// offscreen platform, the tape deck's tests (BANDWERK_TEST_EREIGNISSCHLEIFE) a QCoreApplication;
// core tests run without any application object.
#include "TestUmgebung.h"

#include <gtest/gtest.h>
#ifdef BANDWERK_TEST_WIDGETS
#include <QApplication>
#endif
#ifdef BANDWERK_TEST_EREIGNISSCHLEIFE
#include <QCoreApplication>
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef BANDWERK_TEST_WIDGETS
    // A child test may ask for offscreen screens of its own ("offscreen:configfile=...").
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#endif
#ifdef BANDWERK_TEST_EREIGNISSCHLEIFE
    QCoreApplication app(argc, argv);
#endif
    TestUmgebungEinrichten();
    return RUN_ALL_TESTS();
}
