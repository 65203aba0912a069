#pragma once
// One QApplication for the widget tests of this program (offscreen).

#include <QApplication>

inline void ensureWidgetApp()
{
    static int argc = 1;
    static char name[] = "foundation_widgets_tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv); // lives for the whole test program
    }
}
