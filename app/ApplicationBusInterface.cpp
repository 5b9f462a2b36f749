#include "ApplicationBusInterface.h"

#include "ApplicationService.h"
#include "framework/ErrorBox.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

#include <unistd.h>

ApplicationBusInterface::ApplicationBusInterface(ApplicationService& service)
    : QObject(&service)
    , service_(service) {}

void ApplicationBusInterface::Activate(const QVariantMap& platform_data) {
    if (callerIsThisUser())
        answer(service_.activate(platform_data));
}

void ApplicationBusInterface::Open(const QStringList& uris, const QVariantMap& platform_data) {
    if (!callerIsThisUser())
        return;
    const Result<bool> queued = service_.open(uris, platform_data);
    if (queued)
        answer(*queued);
    else
        sendErrorReply(QDBusError::InvalidArgs, asSentence(queued.reason()));
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
    answer(service_.activateAction(action_name, platform_data));
}

bool ApplicationBusInterface::callerIsThisUser() {
    // The session bus is this user's, but a bus reached through an address set by someone
    // else need not be: ask the bus who the caller is rather than trust the address. A bus
    // never gives a connection's unique name to another, so each caller is asked about once.
    const QString caller = message().service();
    auto known = callers_.constFind(caller);
    if (known == callers_.cend()) {
        const QDBusReply<uint> uid = connection().interface()->serviceUid(caller);
        if (callers_.size() >= maximumCallersRemembered)
            callers_.clear();
        known = callers_.insert(caller, uid.isValid() && uid.value() == getuid());
    }
    if (*known)
        return true;
    sendErrorReply(QDBusError::AccessDenied,
                   QStringLiteral("Orbalin takes requests only from its own user's programs."));
    return false;
}

void ApplicationBusInterface::answer(bool queued) {
    // A queued request is answered at once (the caller never waits on a dialog the request
    // brings up); one past the bound of a burst is refused.
    if (!queued)
        sendErrorReply(QDBusError::LimitsExceeded,
                       QStringLiteral("Orbalin opens at most %1 windows at once; this request "
                                      "would open more.")
                           .arg(ApplicationRequestQueue::maximumWindowsPerBurst));
}
