#include "SceneAccessible.h"

#include "SceneViewHost.h"
#include "view/UserView.h"

#include <QCoreApplication>

QString sceneDescription(int segments, bool paused, const UserView& userView, bool fullScreen) {
    QString text = paused ? SceneViewHost::tr("A scene of %n segment(s), paused.", "", segments)
                          : SceneViewHost::tr("A scene of %n segment(s), moving.", "", segments);
    const bool turned = userView.yaw() != 0.0 || userView.pitch() != 0.0;
    const bool zoomed = userView.zoom() != 1.0;
    const bool moved = userView.panX() != 0.0 || userView.panY() != 0.0;
    QStringList done;
    if (turned)
        done.append(SceneViewHost::tr("turned"));
    if (zoomed)
        done.append(SceneViewHost::tr("zoomed"));
    if (moved)
        done.append(SceneViewHost::tr("moved"));
    if (done.isEmpty()) {
        text += u' ' + SceneViewHost::tr("Seen as the camera orbits it.");
    } else {
        const QString last = done.takeLast();
        const QString list =
            done.isEmpty() ? last : SceneViewHost::tr("%1 and %2").arg(done.join(u", "), last);
        text += u' ' + SceneViewHost::tr("You have %1 it.").arg(list);
    }
    if (fullScreen)
        text += u' ' + SceneViewHost::tr("Full screen.");
    return text;
}

SceneAccessible::SceneAccessible(SceneViewHost* host)
    : QAccessibleWidget(host, QAccessible::Animation, SceneViewHost::tr("Scene")) {}

QString SceneAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Description)
        return static_cast<SceneViewHost*>(widget())->description();
    return QAccessibleWidget::text(kind);
}
