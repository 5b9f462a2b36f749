#pragma once

#include <QWidget>

class OrbalinOpenGLView;

// The widget a document window's description places to show the scene: it makes the scene
// view (a window surface of its own) and embeds it so that it fills the host.
class SceneViewHost : public QWidget {
    Q_OBJECT

  public:
    explicit SceneViewHost(QWidget* parent = nullptr);

    // Owned by the embedding container: it goes when the host goes.
    OrbalinOpenGLView* view() const { return view_; }

    QSize sizeHint() const override { return QSize(640, 480); }

    // What the scene shows, in words, for screen readers; kept up to date, and each change
    // announced to them.
    const QString& description() const { return description_; }

  protected:
    // The view is a window surface of its own: a drag that the platform delivers straight to
    // it (rather than through the widgets) is passed on to the host's window, which takes
    // dropped files.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // When the window has the keyboard and no widget in it takes keys, the view gets them.
    void giveTheViewTheKeyboard();

    // Says again what the scene shows; a change is announced.
    void describe();

    OrbalinOpenGLView* view_;
    QString description_;
};
