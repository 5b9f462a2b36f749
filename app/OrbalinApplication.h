#pragma once

#include "AppController.h"
#include "framework/DocumentController.h"

#include <QObject>
#include <QStringList>

// The application as a whole: the application controller (which seeds the random generator
// as the shell is made) and the document controller for scene documents, wired together.
class OrbalinApplication : public QObject {
    Q_OBJECT

  public:
    // Reverse-DNS name of the desktop entry, the icon and the application id.
    static QString desktopFileName() { return QStringLiteral("io.github.orbalin.Orbalin"); }
    // Names the application and its version, and gives the application object, if there is
    // one yet, its translators.
    static void identify();
    // The application object's translators for the user's language: Orbalin's, and Qt's own.
    static void translate();
    // Names the application to the platform; call once the QApplication exists.
    static void configure();

    OrbalinApplication();
    ~OrbalinApplication() override;

    // Opens the files named, or one new document when none is named; full screen on request.
    void start(const QStringList& files, bool fullScreen = false);
    // Gives the application its icon once the first window has drawn its first frame, or at
    // once when there is no window.
    void giveIconAfterFirstFrame();

    AppController& appController() { return appController_; }
    DocumentController& documentController() { return documentController_; }

  private:
    AppController appController_;
    DocumentController documentController_;
};
