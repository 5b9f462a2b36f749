// Sends a burst of org.freedesktop.Application calls to the running instance, all written to the
// bus before any answer is read, as a misbehaving program of the user's might, then collects the
// answers. Usage: bus_burst COUNT URI_PREFIX: COUNT calls of Open (of URI_PREFIX<n>.orbalin)
// interleaved with COUNT of Activate. Prints "answered A refused R failed F", where refused
// calls are those turned away for asking too much at once.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    const int count = QString::fromLocal8Bit(argv[1]).toInt();
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return 1;
    int outstanding = 0;
    int answered = 0;
    int refused = 0;
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        for (const char* method : {"Open", "Activate"}) {
            QDBusMessage call = QDBusMessage::createMethodCall(
                QStringLiteral("io.github.orbalin.Orbalin"),
                QStringLiteral("/io/github/orbalin/Orbalin"),
                QStringLiteral("org.freedesktop.Application"), QLatin1String(method));
            if (QLatin1String(method) == QLatin1String("Open"))
                call << QStringList{prefix + QString::number(i) + QStringLiteral(".orbalin")};
            call << QVariantMap();
            auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 60000), &application);
            ++outstanding;
            QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [&](auto* finished) {
                const QDBusError error = finished->error();
                if (!error.isValid())
                    ++answered;
                else if (error.type() == QDBusError::LimitsExceeded)
                    ++refused;
                else
                    ++failed;
                finished->deleteLater();
                if (--outstanding == 0)
                    QCoreApplication::quit();
            });
        }
    }
    if (outstanding > 0)
        QCoreApplication::exec();
    std::printf("answered %d refused %d failed %d\n", answered, refused, failed);
    return 0;
}
