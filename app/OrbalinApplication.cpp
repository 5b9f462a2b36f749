#include "OrbalinApplication.h"

#include "OrbalinDocument.h"
#include "framework/DocumentWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>

// The resources live in a static library: make sure they are linked in and registered.
// (The registration macro declares a function, so it must be used outside any namespace.)
static void registerResources() {
    Q_INIT_RESOURCE(orbalin);
}

void OrbalinApplication::identify() {
    QCoreApplication::setApplicationName(QStringLiteral("orbalin"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("orbalin.github.io"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORBALIN_VERSION));
}

void OrbalinApplication::configure(QApplication& application) {
    identify();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Orbalin"));
    QGuiApplication::setDesktopFileName(desktopFileName());
    registerResources();
    application.setWindowIcon(
        QIcon::fromTheme(desktopFileName(), QIcon(QStringLiteral(":/icons/orbalin.svg"))));
    // The last document window closing ends the run, whatever other panels are still up.
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

OrbalinApplication::OrbalinApplication()
    : documentController_(OrbalinDocument::sceneFileType(),
                          [] { return std::make_unique<OrbalinDocument>(); }) {
    registerResources();
    // The main interface is loaded: the application controller wakes and seeds.
    appController_.awakeFromNib();
    connect(&documentController_, &DocumentController::aboutRequested, &appController_,
            &AppController::orderFrontStandardAboutPanel);
    connect(&documentController_, &DocumentController::quitRequested, this, [this] {
        // Windows with a save under way close once it has ended; the last to close quits.
        documentController_.closeAllDocuments();
        if (documentController_.documents().empty())
            QCoreApplication::quit();
    });
    connect(&documentController_, &DocumentController::lastDocumentClosed, this,
            [] { QCoreApplication::quit(); });
}

OrbalinApplication::~OrbalinApplication() = default;

void OrbalinApplication::start(const QStringList& files, bool fullScreen) {
    if (files.isEmpty())
        documentController_.newDocument();
    else
        documentController_.openDocuments(files);
    if (!fullScreen)
        return;
    for (Document* document : documentController_.documents()) {
        if (QWidget* window = document->window())
            window->showFullScreen();
    }
}
