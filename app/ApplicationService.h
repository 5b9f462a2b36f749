#pragma once

#include "ApplicationRequestQueue.h"
#include "base/Result.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

class Document;
class OrbalinApplication;

// One Orbalin per user session, through the desktop's own mechanism: the first instance owns
// the application's name on the session bus and answers org.freedesktop.Application there; a
// later launch hands its files to it and ends. Without a session bus every launch runs on its
// own. Only the session bus is used, and only calls from processes of this user are answered.
class ApplicationService : public QObject {
    Q_OBJECT

  public:
    // The well-known name, which is also the desktop entry's name, and the object path.
    static QString busName();
    static QString objectPath();
    // The argument the bus's service file starts the program with.
    static const char* activationFlag() { return "--dbus-activated"; }
    // Removes the activation flag from the arguments, before anything else parses them.
    // Returns whether it was there: then the call that started the program says what to open.
    static bool takeActivationFlag(int& argc, char** argv);

    // Claims the name for `orbalin` unless another instance of this session holds it.
    ApplicationService(OrbalinApplication& orbalin, bool startedByBus);
    ~ApplicationService() override;

    enum class HandOver {
        Run,  // this launch runs: it is the instance, there is no bus, or the other hung
        Done, // the instance has taken the files: this launch is done
    };
    // When another instance runs, asks it to open `files` (a new document when there are none),
    // full screen on request. Fails when the instance refuses them (too many at once).
    Result<HandOver> handOver(const QStringList& files, bool fullScreen = false);

    // The requests of the bus interface: queued, and carried out in turn. Each returns false
    // when the request is refused because one burst of requests asks for too many windows.
    // An open fails, opening nothing, when a URI names no local file by an absolute path.
    bool activate(const QVariantMap& platformData);
    Result<bool> open(const QStringList& uris, const QVariantMap& platformData);
    bool activateAction(const QString& name, const QVariantMap& platformData);
    // The desktop entry's actions: "new-document".
    static bool hasAction(const QString& name);

  private:
    enum class Role { Alone, Instance, Other };

    void claim();
    bool queue(ApplicationRequestQueue::Request request);
    void carryOut(const ApplicationRequestQueue::Request& request);
    void usePlatformData(const QVariantMap& platformData);
    static void showFullScreenOnRequest(Document* document, const QVariantMap& platformData);
    void quitWhenNothingIsOpen();

    OrbalinApplication& orbalin_;
    bool startedByBus_;
    Role role_ = Role::Alone;
    // Started by the bus, the instance waits this long for the call that started it.
    QTimer idle_;
    ApplicationRequestQueue requests_;
};
