#pragma once

#include <QAccessibleWidget>

class SceneViewHost;
class UserView;

// What a screen reader says of a scene: how many segments it has, whether it moves, whether
// the user has turned, zoomed or moved it, and whether it fills the screen; a sentence or
// three, in the user's language.
QString sceneDescription(int segments, bool paused, const UserView& userView, bool fullScreen);

// The scene in the accessibility tree: a moving picture (an animation) named "Scene", with the
// description above, and nothing inside it (the window surface that draws it is not for
// reading). Made for every SceneViewHost by the factory installed on its first construction.
class SceneAccessible : public QAccessibleWidget {
  public:
    explicit SceneAccessible(SceneViewHost* host);

    QString text(QAccessible::Text kind) const override;
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
};
