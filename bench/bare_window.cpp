// A bare OpenGL window drawing 50 coloured lines, and nothing else: what a scene window's start
// is measured against (bench/launch.py).
#include "BareWindow.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    BareWindow window;
    window.resize(640, 480);
    window.show();
    return QGuiApplication::exec();
}
