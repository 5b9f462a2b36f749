#pragma once

// What the application's end-to-end suites share: the real shell under a display, a fixture
// that makes it afresh for each test, and helpers that answer its dialogs and make files.
#include "app/AboutController.h"
#include "app/AppController.h"
#include "app/ApplicationService.h"
#include "app/OrbalinApplication.h"
#include "app/OrbalinDocument.h"
#include "app/SceneViewHost.h"
#include "framework/BackgroundWork.h"
#include "framework/DocumentWindow.h"
#include "framework/ErrorBox.h"
#include "framework/ImageExport.h"
#include "framework/PictureFormats.h"
#include "framework/RecentFiles.h"
#include "framework/WindowPlacement.h"
#include "framework/files/FileReading.h"
#include "model/KeyedArchiver.h"
#include "model/KeyedUnarchiver.h"
#include "model/Random.h"
#include "support/SceneComparison.h"
#include "support/ViewTestAccess.h"
#include "tests/support/Gate.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <qpa/qplatformdrag.h>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <tuple>
#include <unistd.h>

// Failures show strings as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Answers the application's modal dialogs as they come up: message boxes are read and
// dismissed, questions ("Do you want to replace it?") answered with `replace`; file dialogs
// get the files in `filesToChoose` typed into them (or are cancelled, as they are when they
// come back after a question was answered No).
class DialogAnswerer {
  public:
    DialogAnswerer() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start();
    }

    QStringList filesToChoose;
    QString filterToChoose;   // the start of a file type filter, chosen before the name is typed
    bool transparent = false; // the dialog's transparent-background box, checked
    bool replace = false;
    QStringList messages;
    QStringList reasons;
    QStringList questions;
    int fileDialogs = 0;
    QStringList folders; // where each file dialog started

  private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (QAbstractButton* no = box->button(QMessageBox::No)) {
                questions.append(box->text());
                (replace ? box->button(QMessageBox::Yes) : no)->click();
            } else {
                messages.append(box->text());
                reasons.append(box->informativeText());
                box->accept();
            }
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            const bool cameBack = dialog == answered_;
            if (!cameBack) {
                ++fileDialogs;
                folders.append(dialog->directory().absolutePath());
            }
            answered_ = dialog;
            if (cameBack || filesToChoose.isEmpty()) {
                dialog->reject();
                return;
            }
            const QString folder = QFileInfo(filesToChoose.front()).absolutePath();
            QStringList names;
            for (const QString& file : filesToChoose)
                names.append(QFileInfo(file).fileName());
            const QString typed = names.size() == 1
                                      ? names.front()
                                      : u'"' + names.join(QStringLiteral("\" \"")) + u'"';
            // Typed and accepted in one step, so that the dialog's list, still loading, cannot
            // select its suggestion in between. The accept may ask a question of its own: it
            // runs from the event queue, so that this timer is free to answer that too.
            QMetaObject::invokeMethod(
                dialog,
                [dialog, folder, typed, filter = filterToChoose, transparent = transparent] {
                    dialog->setDirectory(folder);
                    if (auto* box = dialog->findChild<QCheckBox*>("transparentBackground"))
                        box->setChecked(transparent);
                    if (!filter.isEmpty()) {
                        // Chosen in the file type box, as a user chooses it.
                        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
                        ASSERT_NE(types, nullptr);
                        const int index = types->findText(filter, Qt::MatchStartsWith);
                        ASSERT_GE(index, 0) << "no file type " << filter.toStdString();
                        types->setCurrentIndex(index);
                        emit types->activated(index);
                        emit types->textActivated(types->itemText(index));
                    }
                    // Typing replaces the name the dialog suggests (selected in its list) only
                    // in a name field that has the focus; without it the suggestion stays
                    // selected and is what the dialog answers with. A user types once the
                    // dialog is active; where another process holds the display's focus, the
                    // dialog is made Qt's active window directly, as press() does.
                    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                    ASSERT_NE(name, nullptr);
                    if (QApplication::activeWindow() != dialog)
                        QApplication::setActiveWindow(dialog);
                    name->setFocus();
                    ASSERT_TRUE(name->hasFocus()) << "the name field cannot be typed into";
                    name->setText(typed);
                    static_cast<QDialog*>(dialog)->accept(); // the file dialog's own accept
                },
                Qt::QueuedConnection);
        }
    }

    QTimer timer_;
    QPointer<QFileDialog> answered_;
};

// Settings (recent files, window sizes, folders) go to a folder of the test's own, never to the
// user's.
inline void keepSettingsIn(const QString& folder) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

class ApplicationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OrbalinApplication::configure();
        ASSERT_TRUE(directory_.isValid());
        ASSERT_TRUE(settings_.isValid());
        keepSettingsIn(settings_.path());
        shell_ = std::make_unique<OrbalinApplication>();
    }

    void TearDown() override {
        shell_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    DocumentController& controller() { return shell_->documentController(); }
    QString path(const QString& name) const { return directory_.filePath(name); }

    static OrbalinDocument* scene(Document* document) {
        return qobject_cast<OrbalinDocument*>(document);
    }

    // Waits until the document's view has drawn once and settled the scene.
    static bool drawn(OrbalinDocument* document) {
        return QTest::qWaitFor(
            [document] {
                OrbalinOpenGLView* view = document->orbalinOpenGLView();
                return view && view->inited() && document->pointPairArray() != nullptr;
            },
            60000);
    }

    static QAction* action(Document* document, const char* name) {
        return document->window()->findChild<QAction*>(QLatin1String(name));
    }

    // Sends a shortcut to the document's window the way a user would type it. Suites share the
    // display and there is no window manager, so another process may hold the input focus:
    // the window is made Qt's active window directly, which is what shortcuts look at.
    static void press(Document* document, const QKeySequence& keys) {
        DocumentWindow* window = document->window();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window, 500))
            QApplication::setActiveWindow(window);
        ASSERT_EQ(QApplication::activeWindow(), window);
        QTest::keySequence(window, keys);
    }

    static int visibleDocumentWindows() {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<DocumentWindow*>(widget) && widget->isVisible())
                ++count;
        return count;
    }

    static void writeFile(const QString& path, const QByteArray& data) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    // The most memory the process has held so far (VmHWM).
    static long peakMemoryKilobytes() {
        QFile status("/proc/self/status");
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLong();
        return 0;
    }

    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static PointPairArray randomScene(int pairs) {
        PointPairs scene;
        for (int i = 0; i < pairs; ++i)
            scene.push_back(GLPointPair::randomPointPair());
        return std::make_shared<const PointPairs>(std::move(scene));
    }

    static QByteArray archive(const PointPairArray& scene) {
        return KeyedArchiver::archivedDataWithRootObject(*scene);
    }

    // Every file in a folder, hidden ones included.
    static QStringList filesIn(const QString& folder) {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    // Runs the application's event loop as main() does, until something ends it; a loop that
    // does not end within two minutes (a bound for failures only) is ended with -1.
    static int runEventLoop() {
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
        watchdog.start(120000);
        return QCoreApplication::exec();
    }

    QTemporaryDir directory_;
    QTemporaryDir settings_;
    std::unique_ptr<OrbalinApplication> shell_;
};

// A small file system of its own (a tmpfs, which only root may mount), to be filled up or
// made read-only under a document's feet.
class SmallDisk {
  public:
    SmallDisk(const QString& mountPoint, int kilobytes)
        : path_(mountPoint) {
        QDir().mkpath(path_);
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        if (::mount("tmpfs", QFile::encodeName(path_).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    options.constData()) == 0)
            mounted_ = true;
        else
            error_ = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const QString& path() const { return path_; }
    const QString& error() const { return error_; }
    QString filePath(const QString& name) const { return path_ + u'/' + name; }

    // Fills the disk with one more file until the system refuses, then frees `bytes` of it.
    bool fillLeaving(qint64 bytes) {
        const int fd = ::open(QFile::encodeName(filePath("filler")).constData(),
                              O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'x');
        off_t size = 0;
        for (ssize_t written; (written = ::write(fd, block.constData(), block.size())) > 0;)
            size += written;
        const bool full = errno == ENOSPC && ::ftruncate(fd, size - bytes) == 0;
        ::close(fd);
        return full;
    }
    bool makeReadOnly() {
        return ::mount(nullptr, QFile::encodeName(path_).constData(), nullptr,
                       MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
    }

  private:
    QString path_;
    bool mounted_ = false;
    QString error_;
};

// Writes a scene file holding the given pairs.
inline void writeScene(const QString& path, PointPairs pairs) {
    OrbalinDocument source;
    source.setPointPairArray(std::make_shared<const PointPairs>(std::move(pairs)));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(*source.dataRepresentationOfType("Orbalin Scene"));
}

// A window's Open Recent entries, newest first, Clear Menu left out.
inline QList<QAction*> recentEntries(Document* document) {
    QList<QAction*> entries;
    for (QAction* entry : document->window()->findChild<QMenu*>("menuOpenRecent")->actions())
        if (!entry->isSeparator() && entry->objectName() != "actionClearRecentFiles")
            entries.append(entry);
    return entries;
}

inline QStringList recentNames(Document* document) {
    QStringList names;
    for (QAction* entry : recentEntries(document))
        names.append(entry->text());
    return names;
}

// A scene large enough that reading or writing it takes a good while, made once.
inline const QByteArray& largeSceneData() {
    static const QByteArray data = [] {
        PointPairs pairs;
        for (int i = 0; i < 200000; ++i)
            pairs.push_back(GLPointPair::randomPointPair());
        return KeyedArchiver::archivedDataWithRootObject(pairs);
    }();
    return data;
}

// Background work begins with `hook` on its thread for as long as this lives: the tests hold
// work in progress with it, instead of counting on a large scene to take a while.
class WorkHeld {
  public:
    explicit WorkHeld(std::function<void(BackgroundTask&)> hook) {
        setBeforeBackgroundWork(std::move(hook));
    }
    ~WorkHeld() { setBeforeBackgroundWork({}); }
    WorkHeld(const WorkHeld&) = delete;
    WorkHeld& operator=(const WorkHeld&) = delete;
};

// Presses Cancel on the first progress dialog that comes up, as soon as it shows.
class ProgressCanceller : public QObject {
  public:
    ProgressCanceller() { QCoreApplication::instance()->installEventFilter(this); }
    bool pressed = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QProgressDialog*>(watched);
        if (dialog && event->type() == QEvent::Show && !pressed) {
            pressed = true;
            // Once the showing is over.
            QMetaObject::invokeMethod(dialog->findChild<QPushButton*>(), &QPushButton::click,
                                      Qt::QueuedConnection);
        }
        return false;
    }
};
