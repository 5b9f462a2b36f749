#include "ApplicationBusInterface.h"

#include "ApplicationService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QTimer>

#include <unistd.h>

ApplicationBusInterface::ApplicationBusInterface(ApplicationService& service)
    : QObject(&service)
    , service_(service) {}

void ApplicationBusInterface::Activate(const QVariantMap& platform_data) {
    if (callerIsThisUser())
        answerThenDo([this, platform_data] { service_.activate(platform_data); });
}

void ApplicationBusInterface::Open(const QStringList& uris, const QVariantMap& platform_data) {
    if (callerIsThisUser())
        answerThenDo([this, uris, platform_data] { service_.open(uris, platform_data); });
}

void ApplicationBusInterface::ActivateAction(const QString& action_name,
                                             const QVariantList& parameter,
                                             const QVariantMap& platform_data) {
    Q_UNUSED(parameter); // no action of Orbalin takes one
    if (!callerIsThisUser())
        return;
    if (!ApplicationService::hasAction(action_name)) {
        sendErrorReply(QDBusError::InvalidArgs,
                       QStringLiteral("Orbalin has no action “%1”.").arg(action_name));
        return;
    }
    answerThenDo([this, action_name, platform_data] {
        service_.activateAction(action_name, platform_data);
    });
}

bool ApplicationBusInterface::callerIsThisUser() {
    // The session bus is this user's, but a bus reached through an address set by someone
    // else need not be: ask the bus who the caller is rather than trust the address.
    const QDBusReply<uint> uid = connection().interface()->serviceUid(message().service());
    if (uid.isValid() && uid.value() == getuid())
        return true;
    sendErrorReply(QDBusError::AccessDenied,
                   QStringLiteral("Orbalin takes requests only from its own user's programs."));
    return false;
}

void ApplicationBusInterface::answerThenDo(std::function<void()> work) {
    setDelayedReply(true);
    // The answer goes out only once the work is about to run: should the instance be quitting,
    // the caller gets no answer and opens its files itself rather than lose them.
    QTimer::singleShot(
        0, this,
        [bus = connection(), reply = message().createReply(), work = std::move(work)]() mutable {
            bus.send(reply);
            work();
        });
}
