#include "SceneViewHost.h"

#include "ExposureGate.h"
#include "SceneAccessible.h"
#include "view/OrbalinOpenGLView.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QVBoxLayout>

SceneViewHost::SceneViewHost(QWidget* parent)
    : QWidget(parent)
    , view_(new OrbalinOpenGLView()) {
    QWidget* container = QWidget::createWindowContainer(view_, this);
    container->setObjectName(QStringLiteral("sceneViewContainer"));
    container->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Drags over the scene belong to the document window. A container that took them would
    // hand them to the view, whose filter passes them to the window, and Qt Widgets routes a
    // drag's later events to the widget that took its start: the container again, for ever.
    container->setAcceptDrops(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(container);
    view_->installEventFilter(this);
    // The scene is the window's only content: it has the keyboard whenever its window is
    // active (opened, or reached by Alt+Tab or its title bar), not only once clicked. The view
    // is a window surface of its own, which the widgets' focus never reaches by itself.
    // Asked whenever the window takes the keyboard, and once the view is exposed, in case the
    // window took it first.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
            &SceneViewHost::giveTheViewTheKeyboard);

    // Screen readers read the scene through an interface of its own.
    static const bool accessible = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* host = qobject_cast<SceneViewHost*>(object);
            return host ? new SceneAccessible(host) : nullptr;
        });
        return true;
    }();
    Q_UNUSED(accessible);
    connect(view_, &OrbalinOpenGLView::shownChanged, this, &SceneViewHost::describe);
    // The window it is placed in, which goes full screen.
    if (window() != this)
        window()->installEventFilter(this);
    describe();

    // On Wayland the view's surface is a subsurface of the window's, and Qt 6.4 gives a
    // window's first expose (the compositor's first configure) to that window alone, not to
    // the subsurfaces already shown inside it: a view shown with its window is never exposed
    // and never draws. There the container is shown only once the window is exposed; the view
    // is then exposed as it is shown. On X11 a child window is exposed with its parent.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        new ExposureGate(container);
}

bool SceneViewHost::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        if (watched == view_ && window()) {
            QCoreApplication::sendEvent(window(), event);
            return true;
        }
        break;
    case QEvent::Expose:
        if (watched == view_)
            giveTheViewTheKeyboard();
        break;
    case QEvent::WindowStateChange:
        if (watched == window())
            describe();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void SceneViewHost::giveTheViewTheKeyboard() {
    const QWindow* focus = QGuiApplication::focusWindow();
    if (focus && focus == window()->windowHandle() && !window()->focusWidget() &&
        view_->isExposed())
        view_->requestActivate();
}

void SceneViewHost::describe() {
    const PointPairArray scene = view_->pointPairArray();
    const QString text =
        sceneDescription(scene ? static_cast<int>(scene->size()) : 0, view_->isPaused(),
                         view_->userView(), window()->isFullScreen());
    if (text == description_)
        return;
    description_ = text;
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}
