#include "ApplicationService.h"

#include "ApplicationBusInterface.h"
#include "OrbalinApplication.h"
#include "framework/DocumentWindow.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

#include <cstring>
#include <unistd.h>

namespace {

const QString interfaceName = QStringLiteral("org.freedesktop.Application");
const QString newDocumentAction = QStringLiteral("new-document");
// Orbalin's own entry in a request's platform data: --fullscreen of the launch handing over.
const QString fullScreenKey = QStringLiteral("io.github.orbalin.full-screen");
// A running instance answers at once. One that has not answered by then is taken for hung, and
// this launch opens its files itself rather than lose them.
constexpr int handOverTimeoutMs = 10000;
// Started by the bus, the call that started the program arrives at once; should none come,
// the program does not linger without windows.
constexpr int activationWaitMs = 10000;

// What this launch knows that lets the instance bring its windows to the front.
QVariantMap platformDataOfThisLaunch(bool fullScreen) {
    QVariantMap data;
    if (fullScreen)
        data.insert(fullScreenKey, true);
    if (const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN"); !token.isEmpty())
        data.insert(QStringLiteral("activation-token"), token);
    if (const QString id = qEnvironmentVariable("DESKTOP_STARTUP_ID"); !id.isEmpty())
        data.insert(QStringLiteral("desktop-startup-id"), id);
    return data;
}

// The instance runs elsewhere: names relative to this launch's folder travel as file URIs.
QStringList urisOf(const QStringList& files) {
    QStringList uris;
    for (const QString& file : files)
        uris.append(
            QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded));
    return uris;
}

// The local file a request names. The interface passes URIs; the launcher's own hand-over
// passes absolute paths. Anything else would be looked up against this instance's folder, or
// taken for a local name, so it is refused.
Result<QString> pathOf(const QString& uri) {
    if (uri.startsWith(u'/'))
        return uri;
    QUrl url(uri);
    if (url.scheme() != QLatin1String("file"))
        return Failure::because(
            ApplicationService::tr("“%1” is not a file: Orbalin opens file URIs and absolute paths")
                .arg(uri));
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return Failure::because(
            ApplicationService::tr("“%1” names a file on another computer").arg(uri));
    url.setHost(QString());
    const QString path = url.toLocalFile();
    if (!path.startsWith(u'/'))
        return Failure::because(ApplicationService::tr("“%1” is no absolute path").arg(uri));
    return path;
}

} // namespace

QString ApplicationService::busName() {
    return OrbalinApplication::desktopFileName();
}

QString ApplicationService::objectPath() {
    return QStringLiteral("/io/github/orbalin/Orbalin");
}

bool ApplicationService::hasAction(const QString& name) {
    return name == newDocumentAction;
}

bool ApplicationService::takeActivationFlag(int& argc, char** argv) {
    bool found = false;
    int kept = 1;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        // After "--" every argument is a file, whatever its name.
        options = options && std::strcmp(argv[i], "--") != 0;
        if (options && std::strcmp(argv[i], activationFlag()) == 0)
            found = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return found;
}

ApplicationService::ApplicationService(OrbalinApplication& orbalin, bool startedByBus)
    : orbalin_(orbalin)
    , startedByBus_(startedByBus)
    , requests_([this](const ApplicationRequestQueue::Request& request) { carryOut(request); }) {
    // Started by the bus for files that all failed: there is nothing to run.
    connect(&requests_, &ApplicationRequestQueue::drained, this,
            &ApplicationService::quitWhenNothingIsOpen);
    claim();
    if (startedByBus_ && role_ != Role::Other) {
        idle_.setSingleShot(true);
        connect(&idle_, &QTimer::timeout, this, &ApplicationService::quitWhenNothingIsOpen);
        idle_.start(activationWaitMs);
    }
}

ApplicationService::~ApplicationService() {
    if (role_ != Role::Instance)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(busName());
    bus.unregisterObject(objectPath());
}

void ApplicationService::claim() {
    // The session bus only: a system-wide bus would reach other users' sessions.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return;
    // The object answers before the name is taken, so no call can find the name without it.
    // Calls wait in the connection until the event loop runs, by which time the shell exists.
    if (!bus.registerObject(objectPath(), interfaceName, new ApplicationBusInterface(*this),
                            QDBusConnection::ExportScriptableSlots))
        return;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(busName(), QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        role_ = Role::Instance;
        return;
    }
    bus.unregisterObject(objectPath());
    role_ = reply.isValid() ? Role::Other : Role::Alone;
}

Result<ApplicationService::HandOver> ApplicationService::handOver(const QStringList& files,
                                                                  bool fullScreen) {
    if (role_ != Role::Other)
        return HandOver::Run;
    // Started by the bus while another instance holds the name: that one answers the call.
    if (startedByBus_)
        return HandOver::Done;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The call goes to the owner found here, checked to be of this user, and to no later one.
    const QDBusReply<QString> owner = bus.interface()->serviceOwner(busName());
    if (!owner.isValid())
        return HandOver::Run;
    const QDBusReply<uint> uid = bus.interface()->serviceUid(owner.value());
    if (!uid.isValid() || uid.value() != getuid())
        return HandOver::Run;
    QDBusMessage call = QDBusMessage::createMethodCall(owner.value(), objectPath(), interfaceName,
                                                       files.isEmpty() ? QStringLiteral("Activate")
                                                                       : QStringLiteral("Open"));
    if (!files.isEmpty())
        call << urisOf(files);
    call << platformDataOfThisLaunch(fullScreen);
    const QDBusMessage reply = bus.call(call, QDBus::Block, handOverTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return HandOver::Done;
    // Refused, not hung: opening the files here instead would only get round the limit.
    if (reply.errorName() == QDBusError::errorString(QDBusError::LimitsExceeded))
        return Failure::because(reply.errorMessage());
    return HandOver::Run;
}

bool ApplicationService::activate(const QVariantMap& platformData) {
    return queue({{}, platformData});
}

Result<bool> ApplicationService::open(const QStringList& uris, const QVariantMap& platformData) {
    QStringList paths;
    for (const QString& uri : uris) {
        Result<QString> path = pathOf(uri);
        if (!path)
            return path.failure();
        paths.append(*path);
    }
    // Opening nothing asks for nothing (it makes no new document either).
    return paths.isEmpty() || queue({paths, platformData});
}

bool ApplicationService::activateAction(const QString& name, const QVariantMap& platformData) {
    // A second launch of a document application without files asks for a new document.
    return name != newDocumentAction || activate(platformData);
}

bool ApplicationService::queue(ApplicationRequestQueue::Request request) {
    // The request has come: the wait for it is over.
    idle_.stop();
    return requests_.add(std::move(request));
}

void ApplicationService::carryOut(const ApplicationRequestQueue::Request& request) {
    usePlatformData(request.platformData);
    DocumentController& documents = orbalin_.documentController();
    if (request.files.isEmpty()) {
        showFullScreenOnRequest(documents.newDocument(), request.platformData);
        return;
    }
    documents.openDocuments(request.files);
    for (const QString& path : request.files)
        showFullScreenOnRequest(documents.documentForFile(path), request.platformData);
}

void ApplicationService::usePlatformData(const QVariantMap& platformData) {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    // On Wayland only the compositor raises a window, for a client that shows it a token from
    // the launch that asked. Later versions of Qt's Wayland platform hand the compositor the
    // token they find in the environment when the next window asks to be activated; Qt 6.4's
    // never reads it, and takes none through any public interface.
    const QString token = platformData.value(QStringLiteral("activation-token")).toString();
    if (!token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    // Without a token the compositor accepts, what the request shows (a new window, a message)
    // opens behind a window that fills the screen, where nothing tells the user it came: such
    // a window of ours steps out of full screen first. The new window, placed apart, then shows
    // at least in part; the compositor alone decides which of the two ends on top.
    for (const Document* document : orbalin_.documentController().documents())
        if (DocumentWindow* window = document->window(); window && window->isFullScreen())
            window->setWindowState(window->windowState() & ~Qt::WindowFullScreen);
}

void ApplicationService::showFullScreenOnRequest(Document* document,
                                                 const QVariantMap& platformData) {
    if (!document || !document->window() || !platformData.value(fullScreenKey).toBool())
        return;
    document->window()->showFullScreen();
}

void ApplicationService::quitWhenNothingIsOpen() {
    if (orbalin_.documentController().documents().empty() && requests_.isEmpty())
        QCoreApplication::quit();
}
