// Shows a view animating a random scene for a few seconds and saves what the screen shows
// of it: view_screenshot OUTPUT.png [WIDTH HEIGHT SECONDS]. Needs a display.
#include "model/Random.h"
#include "view/OrbalinOpenGLView.h"

#include <QDateTime>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [WIDTH HEIGHT SECONDS]\n", argv[0]);
        return 2;
    }
    const int width = argc > 3 ? std::atoi(argv[2]) : 640;
    const int height = argc > 3 ? std::atoi(argv[3]) : 480;
    const int seconds = argc > 4 ? std::atoi(argv[4]) : 3;
    seedRandom(static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch()));

    OrbalinOpenGLView view(QRect(0, 0, width, height));
    view.setTitle(QStringLiteral("Orbalin"));
    view.show();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();

    QImage image = view.screen()->grabWindow(view.winId()).toImage();
    // Where the screen cannot be read back, the view's own last frame will do.
    if (image.isNull())
        image = view.grabFramebuffer();
    if (image.isNull() || !image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
