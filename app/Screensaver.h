#pragma once

#include "ScreensaverOptions.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QTimer>

class OrbalinOpenGLView;
class QWindow;
class SceneDocument;
class ScreensaverCaption;
class ScreensaverFrameRate;

// The scene view hosted in a screen saver's window: it fills the host, takes no input, gets a
// fresh scene from time to time, and ticks at the requested rate and speed. The host is the
// daemon's window (or any other program's), or a window of Orbalin's own.
class Screensaver : public QObject {
    Q_OBJECT

  public:
    // `document` holds the scene to show, or is null for random scenes. Neither is owned; both
    // outlive the saver. A `notice` is shown in a corner for the first few seconds.
    Screensaver(QWindow* host, const ScreensaverRequest& request, SceneDocument* document,
                const QString& notice = {});
    ~Screensaver() override;

    // Follows the host's size, in its logical pixels.
    void fit(const QSize& size);
    // A new view with a new camera and, unless a scene file is shown, a new random scene: what a
    // new document makes.
    void newScene();

    OrbalinOpenGLView* view() const;

  private:
    QWindow* host_;
    ScreensaverRequest request_;
    SceneDocument* document_;
    QSize size_;
    // Windows inside the host, which owns them; gone with it, should it go first.
    QPointer<OrbalinOpenGLView> view_;
    QPointer<ScreensaverFrameRate> frameRate_;
    QPointer<ScreensaverCaption> notice_;
    QTimer tickTimer_;
    QTimer sceneTimer_;
};

// The whole run of `orbalin --root`, `--window-id` and the other screen-saver options; the
// exit status.
int runScreensaver(int argc, char** argv, const ScreensaverRequest& request);
