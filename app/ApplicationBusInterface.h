#pragma once

#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <functional>

class ApplicationService;

// The org.freedesktop.Application interface that launchers, file managers and later launches
// call on the running instance. Callers of another user are refused. Each accepted call is
// answered at once and carried out on the next turn of the event loop, so that a caller never
// waits on a dialog the request brings up.
class ApplicationBusInterface : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

  public:
    explicit ApplicationBusInterface(ApplicationService& service);

    // The bus's names for the calls and their arguments.
  public slots:
    Q_SCRIPTABLE void Activate(const QVariantMap& platform_data);
    Q_SCRIPTABLE void Open(const QStringList& uris, const QVariantMap& platform_data);
    Q_SCRIPTABLE void ActivateAction(const QString& action_name, const QVariantList& parameter,
                                     const QVariantMap& platform_data);

  private:
    bool callerIsThisUser();
    void answerThenDo(std::function<void()> work);

    ApplicationService& service_;
};
