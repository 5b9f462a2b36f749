#pragma once

#include <QDBusContext>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class ApplicationService;

// The org.freedesktop.Application interface that launchers, file managers and later launches
// call on the running instance. Callers of another user are refused. Each accepted call is
// answered at once and queued, to be carried out in turn, so that a caller never waits on a
// dialog the request brings up.
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
    void answer(bool queued);

    ApplicationService& service_;
    // Callers' unique names, and whether each is of this user.
    QHash<QString, bool> callers_;
    static constexpr int maximumCallersRemembered = 1000;
};
