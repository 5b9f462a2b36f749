#include "SceneViewHost.h"

#include "view/OrbalinOpenGLView.h"

#include <QVBoxLayout>

SceneViewHost::SceneViewHost(QWidget* parent)
    : QWidget(parent)
    , view_(new OrbalinOpenGLView()) {
    QWidget* container = QWidget::createWindowContainer(view_, this);
    container->setObjectName(QStringLiteral("sceneViewContainer"));
    container->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(container);
}
