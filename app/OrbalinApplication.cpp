#include "OrbalinApplication.h"

#include "OrbalinDocument.h"
#include "framework/DocumentWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>

namespace {

constexpr int iconAtTheLatest = 1000; // milliseconds

} // namespace

// The resources live in a static library: make sure they are linked in and registered.
// (The registration macro declares a function, so it must be used outside any namespace.)
static void registerResources() {
    Q_INIT_RESOURCE(orbalin);
}

void OrbalinApplication::identify() {
    QCoreApplication::setApplicationName(QStringLiteral("orbalin"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("orbalin.github.io"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORBALIN_VERSION));
    translate();
}

void OrbalinApplication::translate() {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    // The user's languages, in the order LANGUAGE, LC_ALL, LC_MESSAGES and LANG give them.
    const QLocale locale;
    // English has a translation too, of its plural forms alone.
    auto* own = new QTranslator(application);
    if (own->load(locale, QStringLiteral("orbalin"), QStringLiteral("_"), QStringLiteral(":/i18n")) ||
        own->load(QStringLiteral("orbalin_en"), QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(own);
    // Qt's own words: the standard buttons, the file dialog.
    auto* qt = new QTranslator(application);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}

void OrbalinApplication::configure() {
    identify();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Orbalin"));
    QGuiApplication::setDesktopFileName(desktopFileName());
    registerResources();
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
    if (fullScreen) {
        for (Document* document : documentController_.documents()) {
            if (QWidget* window = document->window())
                window->showFullScreen();
        }
    }
    giveIconAfterFirstFrame();
}

void OrbalinApplication::giveIconAfterFirstFrame() {
    // Loading the icon theme and drawing the icon at every size a window manager may show
    // takes longer than the scene's first frame: the windows take their icon just after it.
    const auto giveIcon = [] {
        if (QGuiApplication::windowIcon().isNull())
            QApplication::setWindowIcon(
                QIcon::fromTheme(desktopFileName(), QIcon(QStringLiteral(":/icons/orbalin.svg"))));
    };
    for (Document* document : documentController_.documents()) {
        const auto* scene = dynamic_cast<OrbalinDocument*>(document);
        if (scene && scene->orbalinOpenGLView()) {
            connect(scene->orbalinOpenGLView(), &QOpenGLWindow::frameSwapped, this, giveIcon,
                    Qt::SingleShotConnection);
            // A window closed before it drew, or one that is never exposed, still has it soon.
            QTimer::singleShot(iconAtTheLatest, this, giveIcon);
            return;
        }
    }
    giveIcon();
}
