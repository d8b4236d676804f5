// Shared main for every test executable: a QApplication when widgets are linked,
// test paths for QStandardPaths, and a fixed English locale unless a test sets another.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>
#include <QStandardPaths>

#ifdef VELT_TEST_WIDGETS
#include <QApplication>
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
#ifdef VELT_TEST_WIDGETS
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
