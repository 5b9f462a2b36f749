// End-to-end tests of the application: the real shell, windows, menus and scene views under a
// display, driven through their actions and shortcuts.
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
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

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
    QString filterToChoose; // the start of a file type filter, chosen before the name is typed
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
                [dialog, folder, typed, filter = filterToChoose] {
                    dialog->setDirectory(folder);
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
void keepSettingsIn(const QString& folder) {
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

TEST_F(ApplicationTest, StartsWithOneNewDocumentWhoseViewMakesAndSharesTheScene) {
    shell_->start({});
    ASSERT_EQ(controller().documents().size(), 1u);
    OrbalinDocument* document = scene(controller().documents().front());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->window()->windowTitle(), "Untitled");
    EXPECT_EQ(document->window()->objectName(), "OrbalinDocument");
    ASSERT_TRUE(drawn(document));

    OrbalinOpenGLView* view = document->orbalinOpenGLView();
    EXPECT_EQ(view->orbalinDocument(), document);
    EXPECT_EQ(view->pointPairArray().get(), document->pointPairArray().get())
        << "document and view share one array";
    EXPECT_GE(document->pointPairArray()->size(), 10u);
    EXPECT_LE(document->pointPairArray()->size(), 50u);
    EXPECT_TRUE(view->isAnimating());
}

TEST_F(ApplicationTest, NewFromTheShortcutNumbersUntitledWindows) {
    shell_->start({});
    Document* first = controller().documents().front();
    press(first, QKeySequence(QKeySequence::New));
    ASSERT_EQ(controller().documents().size(), 2u);
    Document* second = controller().documents().back();
    EXPECT_EQ(second->window()->windowTitle(), "Untitled 2");
    ASSERT_TRUE(drawn(scene(second)));
    EXPECT_NE(scene(first)->pointPairArray(), scene(second)->pointPairArray());

    // A closed window's number is free again.
    action(first, "actionClose")->trigger();
    action(second, "actionNew")->trigger();
    EXPECT_EQ(controller().documents().back()->window()->windowTitle(), "Untitled");
}

TEST_F(ApplicationTest, SaveThenOpenGivesBackTheSameScene) {
    shell_->start({});
    OrbalinDocument* original = scene(controller().documents().front());
    ASSERT_TRUE(drawn(original));

    // Save on a new document asks for a name; the extension is added.
    DialogAnswerer answerer;
    answerer.filesToChoose = {path("orbit")};
    press(original, QKeySequence(QKeySequence::Save));
    EXPECT_EQ(answerer.fileDialogs, 1);
    EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(' ').toStdString();
    const QString saved = path("orbit.orbalin");
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(original->window()->windowTitle(), "orbit.orbalin");
    const PointPairArray scene1 = original->pointPairArray();

    // Opening the open file brings its window forward instead of opening it twice.
    EXPECT_EQ(controller().openDocumentWithContentsOfFile(saved), original);
    EXPECT_EQ(controller().documents().size(), 1u);

    // Save again writes to the same file without asking.
    const QByteArray bytes = readFile(saved);
    action(original, "actionSave")->trigger();
    EXPECT_EQ(answerer.fileDialogs, 1);
    EXPECT_EQ(readFile(saved), bytes);

    action(original, "actionClose")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    OrbalinDocument* reopened = scene(controller().openDocumentWithContentsOfFile(saved));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->window()->windowTitle(), "orbit.orbalin");
    const PointPairArray scene2 = reopened->pointPairArray();
    ASSERT_NE(scene2, nullptr) << "the scene is read before the window draws";
    expectSameScene(*scene2, *scene1);
    // The view adopts the stored scene rather than making a new one.
    ASSERT_TRUE(drawn(reopened));
    EXPECT_EQ(reopened->orbalinOpenGLView()->pointPairArray().get(), scene2.get());
    EXPECT_EQ(reopened->pointPairArray().get(), scene2.get());
}

TEST_F(ApplicationTest, SaveAsHasAShortcutEvenWhereThePlatformDefinesNone) {
    shell_->start({});
    QAction* saveAs = action(controller().documents().front(), "actionSaveAs");
    ASSERT_FALSE(saveAs->shortcuts().isEmpty());
    if (QKeySequence::keyBindings(QKeySequence::SaveAs).isEmpty()) {
        EXPECT_EQ(saveAs->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    }
    EXPECT_EQ(action(controller().documents().front(), "actionQuit")->shortcuts(),
              QKeySequence::keyBindings(QKeySequence::Quit));
}

TEST_F(ApplicationTest, MalformedFileShowsTheErrorAndLeavesNoWindow) {
    writeFile(path("broken.orbalin"), "bplist00 this is not a scene");
    shell_->start({});
    const int windowsBefore = visibleDocumentWindows();

    DialogAnswerer answerer;
    EXPECT_EQ(controller().openDocumentWithContentsOfFile(path("broken.orbalin")), nullptr);
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_EQ(answerer.messages[0],
              QString::fromUtf8("The document “broken.orbalin” could not be opened."));
    EXPECT_EQ(answerer.reasons[0], "The file is damaged and cannot be read (binary property "
                                   "list: it is too short to hold a trailer).");
    EXPECT_EQ(controller().documents().size(), 1u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(visibleDocumentWindows(), windowsBefore);
}

// What cannot be a scene file, or is no file at all, is refused at once with its reason, by the
// function that reads files and by opening alike: nothing blocks, nothing is read whole.
TEST_F(ApplicationTest, WhatIsNotAReadableFileIsRefusedWithItsReason) {
    const bool asRoot = ::geteuid() == 0;
    const QString pipe = path("pipe.orbalin");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString huge = path("huge.orbalin");
    {
        QFile file(huge); // sparse: the test costs no disk
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("bplist00");
        ASSERT_TRUE(file.resize(qint64(6) << 30));
    }
    writeFile(path("empty.orbalin"), QByteArray());
    writeFile(path("locked.orbalin"), "bplist00");
    QFile::setPermissions(path("locked.orbalin"), {});
    const struct {
        const char* name;
        QString path;
        const char* reason; // as the dialog shows it
        bool onlyAsAnotherUser;
    } cases[] = {
        {"a device", "/dev/zero", "It is a device, not a file.", false},
        {"a named pipe nobody writes to", pipe, "It is a named pipe, not a file.", false},
        {"a folder", directory_.path(), "It is a folder, not a file.", false},
        {"a missing file", path("missing.orbalin"), "No such file or directory.", false},
        {"a file over the limit", huge,
         "The file is too large to open: it holds 6.0 GiB (6,442,450,944 bytes), and the limit is "
         "256 MiB.",
         false},
        {"an empty file", path("empty.orbalin"), "The file is empty.", false},
        {"a file that grows while it is read", "/proc/self/status",
         "The file changed while it was being read. Try again once it is complete.", false},
        {"a file the user may not read", path("locked.orbalin"), "Permission denied.", true},
    };
    const long peakBefore = peakMemoryKilobytes();
    DialogAnswerer answerer;
    int shown = 0;
    for (const auto& c : cases) {
        if (c.onlyAsAnotherUser && asRoot)
            continue;
        SCOPED_TRACE(c.name);
        const Result<QByteArray> data = readRegularFile(c.path, maximumSceneFileSize);
        EXPECT_EQ(data.ok(), c.path == path("empty.orbalin"));
        EXPECT_EQ(controller().openDocumentWithContentsOfFile(c.path), nullptr);
        ASSERT_EQ(answerer.reasons.size(), ++shown);
        EXPECT_EQ(answerer.reasons.back().toStdString(), c.reason);
        if (!data) {
            EXPECT_EQ(asSentence(data.reason()).toStdString(), c.reason);
        }
    }
    EXPECT_TRUE(controller().documents().empty());
    // Nothing was read whole: /dev/zero and the 6 GiB file would each have taken gigabytes.
    EXPECT_LT(peakMemoryKilobytes() - peakBefore, 64 * 1024);

    // Root may read any file: the refusal of an unreadable one shows only for another user, so
    // the table runs once more as "nobody".
    if (asRoot && qEnvironmentVariableIsEmpty("ORBALIN_TEST_AS_NOBODY")) {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ORBALIN_TEST_AS_NOBODY", "1");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(
            "setpriv",
            {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
             QCoreApplication::applicationFilePath(),
             QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
        if (!child.waitForStarted())
            GTEST_SKIP() << "cannot run the table as another user: "
                         << qPrintable(child.errorString());
        ASSERT_TRUE(child.waitForFinished(120000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    }
}

TEST_F(ApplicationTest, FilesNamedAtStartUpOpenAndFailuresAreReported) {
    {
        OrbalinDocument source;
        source.setPointPairArray(std::make_shared<const PointPairs>(
            PointPairs{GLPointPair::randomPointPair(), GLPointPair::randomPointPair()}));
        writeFile(path("two.orbalin"), *source.dataRepresentationOfType("Orbalin Scene"));
    }
    writeFile(path("empty.orbalin"), QByteArray());
    DialogAnswerer answerer;
    shell_->start({path("two.orbalin"), path("empty.orbalin")});
    ASSERT_EQ(controller().documents().size(), 1u) << "no new document when files are named";
    EXPECT_EQ(controller().documents().front()->window()->windowTitle(), "two.orbalin");
    EXPECT_EQ(scene(controller().documents().front())->pointPairArray()->size(), 2u);
    EXPECT_EQ(answerer.messages,
              QStringList{QString::fromUtf8("The document “empty.orbalin” could not be opened.")});
    EXPECT_EQ(answerer.reasons, QStringList{"The file is empty."});
}

TEST_F(ApplicationTest, BusRequestsWaitTheirTurnMergeAndAreBoundedPerBurst) {
    shell_->start({});
    // The service queues what it is asked whatever its role: here with no session bus (nor one
    // started for it), so that it is never another program's instance.
    qputenv("DBUS_SESSION_BUS_ADDRESS", QFile::encodeName("unix:path=" + path("no-bus")));
    ApplicationService service(*shell_, false);
    DialogAnswerer answerer;
    const auto missing = [this](int i) {
        return QUrl::fromLocalFile(path(QStringLiteral("missing-%1.orbalin").arg(i))).toString();
    };
    // Thousands of requests at once, as a flood over the bus delivers them: opens of 100
    // missing files over and over, and new documents.
    int refused = 0;
    for (int i = 0; i < 3000; ++i) {
        refused += !*service.open({missing(i % 100)}, {});
        refused += !service.activate({});
    }
    const int opened = ApplicationRequestQueue::maximumWindowsPerBurst - 1; // and one new document
    EXPECT_EQ(refused, 30 * (100 - opened));
    ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.messages.size() >= opened; }, 60000));
    // One open at a time, in the order asked, each file reported once: no message nested in
    // another.
    QStringList expected;
    for (int i = 0; i < opened; ++i)
        expected.append(
            QStringLiteral("The document “missing-%1.orbalin” could not be opened.").arg(i));
    EXPECT_EQ(answerer.messages, expected);
    EXPECT_EQ(visibleDocumentWindows(), 2) << "the new documents asked for together make one";
}

TEST_F(ApplicationTest, DragsOpenSceneFilesWhereverTheyEnterAndRefuseTheRest) {
    {
        OrbalinDocument source;
        source.setPointPairArray(std::make_shared<const PointPairs>());
        const QByteArray empty = *source.dataRepresentationOfType("Orbalin Scene");
        for (const char* name : {"over-scene", "over-menu-bar", "first", "second", "on-view"})
            writeFile(path(QString(name) + ".orbalin"), empty);
    }
    shell_->start({});
    DocumentWindow* window = controller().documents().front()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 60000));
    const auto* host = window->findChild<SceneViewHost*>();
    QWindow* const windowSurface = window->windowHandle();
    QWindow* const viewSurface = host->view();
    const QPoint overScene = host->mapTo(window, host->rect().center());
    const QPoint overMenuBar = window->menuBar()->geometry().center();
    const auto file = [this](const char* name) {
        return QUrl::fromLocalFile(path(QString(name) + ".orbalin"));
    };

    // Drags arrive as the platform sends them, hit-tested from the window's own surface; a
    // platform may also hand them straight to the view's surface.
    struct Case {
        const char* what;
        QWindow* surface;
        QPoint at;
        QList<QUrl> urls;
        QString text;
        QStringList opens;
    };
    const Case cases[] = {
        {"scene file over the scene",
         windowSurface,
         overScene,
         {file("over-scene")},
         {},
         {"over-scene.orbalin"}},
        {"scene file over the menu bar",
         windowSurface,
         overMenuBar,
         {file("over-menu-bar")},
         {},
         {"over-menu-bar.orbalin"}},
        {"two scene files at once",
         windowSurface,
         overScene,
         {file("first"), file("second")},
         {},
         {"first.orbalin", "second.orbalin"}},
        {"scene file onto the view's surface",
         viewSurface,
         QPoint(40, 40),
         {file("on-view")},
         {},
         {"on-view.orbalin"}},
        {"web address over the scene",
         windowSurface,
         overScene,
         {QUrl("http://example.com/remote.orbalin")},
         {},
         {}},
        {"web address onto the view's surface",
         viewSurface,
         QPoint(40, 40),
         {QUrl("http://example.com/remote.orbalin")},
         {},
         {}},
        {"text over the menu bar", windowSurface, overMenuBar, {}, "not a file", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QMimeData data;
        if (!c.urls.isEmpty())
            data.setUrls(c.urls);
        if (!c.text.isEmpty())
            data.setText(c.text);
        const std::size_t before = controller().documents().size();
        // Enter, move a little, then drop where the cursor says yes, or leave.
        QWindowSystemInterface::handleDrag(c.surface, &data, c.at, Qt::CopyAction, Qt::LeftButton,
                                           {});
        const QPoint to = c.at + QPoint(4, 2);
        const bool accepted = QWindowSystemInterface::handleDrag(c.surface, &data, to,
                                                                 Qt::CopyAction, Qt::LeftButton, {})
                                  .isAccepted();
        EXPECT_EQ(accepted, !c.opens.isEmpty()) << "the drag cursor tells whether a drop opens";
        if (accepted) {
            EXPECT_TRUE(QWindowSystemInterface::handleDrop(c.surface, &data, to, Qt::CopyAction,
                                                           Qt::LeftButton, {})
                            .isAccepted());
        } else {
            QWindowSystemInterface::handleDrag(c.surface, nullptr, to, Qt::CopyAction, {}, {});
        }
        // Dropped files open once the drop has finished, from the event queue.
        const std::size_t expected = before + c.opens.size();
        QCoreApplication::processEvents();
        ASSERT_EQ(controller().documents().size(), expected);
        for (qsizetype i = 0; i < c.opens.size(); ++i)
            EXPECT_EQ(controller().documents()[before + i]->window()->windowTitle(), c.opens[i]);
    }
    // An empty stored scene stays empty: the view does not make one of its own.
    OrbalinDocument* opened = scene(controller().documents().back());
    ASSERT_TRUE(drawn(opened));
    EXPECT_TRUE(opened->pointPairArray()->empty());
}

TEST_F(ApplicationTest, SavingBeforeTheFirstDrawIsRefusedAndWritesNothing) {
    writeFile(path("keep.orbalin"), "old content");
    shell_->start({});
    DialogAnswerer answerer;
    Document* fresh = controller().newDocument();
    ASSERT_EQ(scene(fresh)->pointPairArray(), nullptr) << "the view has not drawn yet";
    EXPECT_FALSE(controller().saveDocumentToFile(fresh, path("keep.orbalin")));
    EXPECT_EQ(answerer.messages,
              QStringList{QString::fromUtf8(
                  "The document “Untitled 2” could not be saved as “keep.orbalin”.")});
    EXPECT_EQ(answerer.reasons,
              QStringList{"Its scene is not on show yet, so there is nothing to save: save again "
                          "once its window shows the scene. Nothing was written."});
    EXPECT_EQ(readFile(path("keep.orbalin")), "old content");
    EXPECT_TRUE(fresh->filePath().isEmpty());
}

TEST_F(ApplicationTest, FailedSaveSaysWhyAndKeepsTheDocumentUntitled) {
    shell_->start({});
    Document* document = controller().documents().front();
    ASSERT_TRUE(drawn(scene(document)));
    DialogAnswerer answerer;
    EXPECT_FALSE(controller().saveDocumentToFile(document, path("no/such/folder/x.orbalin")));
    EXPECT_FALSE(controller().saveDocumentToFile(document, directory_.path()));
    EXPECT_EQ(answerer.messages,
              (QStringList{
                  QString::fromUtf8("The document “Untitled” could not be saved as “x.orbalin”."),
                  QString::fromUtf8("The document “Untitled” could not be saved as “%1”.")
                      .arg(QFileInfo(directory_.path()).fileName())}));
    EXPECT_EQ(
        answerer.reasons,
        (QStringList{QString::fromUtf8("The folder “%1” is not there.").arg(path("no/such/folder")),
                     QString::fromUtf8("“%1” is a folder, not a file: only ordinary files "
                                       "are saved over.")
                         .arg(QFileInfo(directory_.path()).fileName())}));
    EXPECT_EQ(document->window()->windowTitle(), "Untitled");
}

TEST_F(ApplicationTest, SavesOntoAFullOrReadOnlyDiskKeepTheOldFileAndSayWhy) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small disk needs root";
    const QByteArray oldBytes = archive(randomScene(10));
    struct Case {
        const char* what;
        int pairs;
        bool saveAs;
        qint64 bytesFree; // -1: the disk is made read-only instead
        const char* reason;
    };
    const Case cases[] = {
        {"small scene, Save, disk full", 30, false, 0, "No space left on device."},
        {"small scene, Save As, 4 KB free", 30, true, 4096, "No space left on device."},
        {"large scene, Save, 4 KB free", 2000, false, 4096, "No space left on device."},
        {"large scene, Save As, disk full", 2000, true, 0, "No space left on device."},
        {"small scene, Save, read-only disk", 30, false, -1, "Read-only file system."},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmallDisk disk(path(QStringLiteral("disk%1").arg(++number)), 256);
        ASSERT_TRUE(disk.mounted()) << "as root a tmpfs must mount: " << disk.error().toStdString();
        const QString file = disk.filePath("scene.orbalin");
        writeFile(file, oldBytes);

        DialogAnswerer answerer;
        answerer.replace = true;
        Document* document = c.saveAs ? controller().newDocument()
                                      : controller().openDocumentWithContentsOfFile(file);
        ASSERT_NE(document, nullptr);
        const PointPairArray newScene = randomScene(c.pairs);
        ASSERT_GT(archive(newScene).size(), 4096) << "more than the space left";
        scene(document)->setPointPairArray(newScene);
        const QString title = document->window()->windowTitle();
        const QString filePath = document->filePath();
        ASSERT_TRUE(c.bytesFree < 0 ? disk.makeReadOnly() : disk.fillLeaving(c.bytesFree));
        const QStringList files = filesIn(disk.path());

        if (c.saveAs) {
            answerer.filesToChoose = {disk.filePath("scene")};
            action(document, "actionSaveAs")->trigger();
            EXPECT_EQ(answerer.questions,
                      QStringList{"scene.orbalin already exists.\nDo you want to replace it?"});
        } else {
            press(document, QKeySequence(QKeySequence::Save));
        }
        // Saved again under its own name, or an untitled one saved under a name.
        EXPECT_EQ(answerer.messages,
                  QStringList{(title == "Untitled"
                                   ? QString::fromUtf8("The document “%1” could not be saved as "
                                                       "“scene.orbalin”.")
                                   : QString::fromUtf8("The document “%1” could not be saved."))
                                  .arg(title)});
        EXPECT_EQ(answerer.reasons, QStringList{c.reason});
        EXPECT_TRUE(readFile(file) == oldBytes) << "the old file stays byte for byte";
        EXPECT_EQ(filesIn(disk.path()), files) << "nothing is left behind";
        EXPECT_EQ(document->window()->windowTitle(), title);
        EXPECT_EQ(document->filePath(), filePath);
        controller().closeDocument(document);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // An exported picture written over an old one on a full disk keeps the old one too.
    SmallDisk disk(path("pictures"), 64);
    ASSERT_TRUE(disk.mounted());
    const QString picture = disk.filePath("frame.png");
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(writeImageFile(image, picture, "png"));
    const QByteArray oldPicture = readFile(picture);
    ASSERT_TRUE(disk.fillLeaving(0));
    image.fill(Qt::blue);
    const Result<void> full = writeImageFile(image, picture, "png");
    ASSERT_FALSE(full);
    EXPECT_EQ(full.reason(), "No space left on device");
    EXPECT_TRUE(readFile(picture) == oldPicture);
    EXPECT_EQ(filesIn(disk.path()), (QStringList{"filler", "frame.png"}));
}

TEST_F(ApplicationTest, SaveAsWritesTheNameItConfirmsAndAsksBeforeReplacingIt) {
    writeFile(path("victim.orbalin"), "the victim's scene");
    writeFile(path("v1.2.orbalin"), "version 1.2");
    shell_->start({});
    Document* document = controller().documents().front();
    ASSERT_TRUE(drawn(scene(document)));
    const QByteArray saved = archive(scene(document)->pointPairArray());
    struct Case {
        const char* typed;   // null: the dialog is cancelled
        const char* written; // the file the name stands for
        bool asked;          // whether replacing it is asked first
        bool replace;        // the answer
    };
    const Case cases[] = {
        {nullptr, nullptr, false, false},
        {"Named.ORBALIN", "Named.ORBALIN", false, false}, // an extension of its own is kept
        {"victim", "victim.orbalin", true, false},        // the dialog adds it, then asks
        {"v1.2", "v1.2.orbalin", true, false}, // a dot of its own: no extension from the dialog
        {"victim", "victim.orbalin", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.typed ? c.typed : "cancelled") << ", answer "
                                        << (c.replace ? "Yes" : "No"));
        DialogAnswerer answerer;
        if (c.typed)
            answerer.filesToChoose = {path(c.typed)};
        answerer.replace = c.replace;
        const QString file = c.written ? path(c.written) : QString();
        const QByteArray before = readFile(file);
        const QString title = document->window()->windowTitle();
        action(document, "actionSaveAs")->trigger();
        EXPECT_EQ(answerer.fileDialogs, 1);
        EXPECT_EQ(answerer.questions,
                  c.asked ? QStringList{QString("%1 already exists.\nDo you want to replace it?")
                                            .arg(c.written)}
                          : QStringList{});
        const bool writes = c.written && (!c.asked || c.replace);
        EXPECT_TRUE(readFile(file) == (writes ? saved : before));
        EXPECT_EQ(document->window()->windowTitle(), writes ? QString(c.written) : title);
        for (const QString& name : filesIn(directory_.path()))
            EXPECT_TRUE(
                QStringList({"Named.ORBALIN", "v1.2.orbalin", "victim.orbalin"}).contains(name))
                << "unexpected file " << name.toStdString();
    }
}

TEST_F(ApplicationTest, SaveAsAndExportRefuseWhatIsNotAFileAndLeaveItAsItWas) {
    shell_->start({});
    Document* document = controller().documents().front();
    ASSERT_TRUE(drawn(scene(document)));
    const auto device = [](const QString& path) {
        return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    };
    const auto fifo = [](const QString& path) {
        return ::mkfifo(QFile::encodeName(path).constData(), 0666) == 0;
    };
    const auto folder = [](const QString& path) { return QDir().mkdir(path); };
    const auto nothing = [](const QString&) { return true; };
    const QString saveFailure = "The document “Untitled” could not be saved as “%1”.";
    const QString exportFailure = "The image “%1” could not be written.";
    const QString notAFile = "“%1” is a %2, not a file: only ordinary files are saved over.";
    struct Case {
        const char* command;
        const char* typed;
        const char* target; // what stands at the name the dialog makes of it
        std::function<bool(const QString&)> make;
        QString message; // empty: the dialog opens the folder instead
        QString reason;
    };
    const Case cases[] = {
        {"actionSaveAs", "null", "null.orbalin", device, saveFailure.arg("null.orbalin"),
         notAFile.arg("null.orbalin", "device")},
        {"actionSaveAs", "pipe", "pipe.orbalin", fifo, saveFailure.arg("pipe.orbalin"),
         notAFile.arg("pipe.orbalin", "named pipe")},
        // The controller adds the extension to a name with a dot of its own.
        {"actionSaveAs", "v1.2", "v1.2.orbalin", fifo, saveFailure.arg("v1.2.orbalin"),
         notAFile.arg("v1.2.orbalin", "named pipe")},
        {"actionSaveAs", "folder.orbalin", "folder.orbalin", folder, {}, {}},
        {"actionExportImage", "null.png", "null.png", device, exportFailure.arg("null.png"),
         notAFile.arg("null.png", "device")},
        {"actionExportImage", "pipe", "pipe.png", fifo, exportFailure.arg("pipe.png"),
         notAFile.arg("pipe.png", "named pipe")},
        {"actionExportImage", "folder.png", "folder.png", folder, {}, {}},
        // The one rule of the command line too: a suffix must name a format.
        {"actionExportImage", "pic.xyz", "pic.xyz", nothing, exportFailure.arg("pic.xyz"),
         "“pic.xyz” does not name a picture format that can be written here: its suffix must "
         "be one of " +
             QString::fromLatin1(writablePictureFormats().join(", ")) + "."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " " << c.typed);
        const QString target = path(c.target);
        if (!c.make(target)) {
            EXPECT_NE(::geteuid(), 0u) << "only device nodes may need root";
            continue;
        }
        struct stat before {};
        ::lstat(QFile::encodeName(target).constData(), &before);
        const QStringList entries =
            QDir(directory_.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);

        DialogAnswerer answerer;
        answerer.filesToChoose = {path(c.typed)};
        answerer.replace = true; // were replacing asked, the answer would be Yes
        action(document, c.command)->trigger();
        EXPECT_EQ(answerer.fileDialogs, 1);
        EXPECT_TRUE(answerer.questions.isEmpty()) << "replacing it is not even asked";
        EXPECT_EQ(answerer.messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(answerer.reasons, c.reason.isEmpty() ? QStringList() : QStringList{c.reason});
        struct stat after {};
        ::lstat(QFile::encodeName(target).constData(), &after);
        EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
        EXPECT_EQ(after.st_rdev, before.st_rdev);
        EXPECT_EQ(QDir(directory_.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden),
                  entries);
        EXPECT_EQ(document->window()->windowTitle(), "Untitled");
    }
}

TEST_F(ApplicationTest, SaveAsOntoAFileOpenInAnotherWindowLeavesOneWindowOnIt) {
    writeFile(path("shared.orbalin"), archive(randomScene(3)));
    shell_->start({path("shared.orbalin")});
    QPointer<DocumentWindow> staleWindow = controller().documents().front()->window();
    Document* document = controller().newDocument();
    ASSERT_TRUE(drawn(scene(document)));

    DialogAnswerer answerer;
    answerer.filesToChoose = {path("shared")};
    answerer.replace = true;
    action(document, "actionSaveAs")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(answerer.questions.size(), 1);
    EXPECT_TRUE(staleWindow.isNull()) << "the window showing the replaced content has closed";
    // ...and the user is told so.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !answerer.messages.isEmpty(); }, 60000));
    EXPECT_EQ(answerer.messages,
              QStringList{QString::fromUtf8("The window showing “shared.orbalin” was closed, "
                                            "because the file was replaced by this document.")});
    ASSERT_EQ(controller().documents(), std::vector<Document*>{document});
    EXPECT_EQ(visibleDocumentWindows(), 1);
    EXPECT_EQ(document->window()->windowTitle(), "shared.orbalin");
    // The window left shows the scene that the file now holds.
    EXPECT_TRUE(readFile(path("shared.orbalin")) ==
                archive(scene(document)->orbalinOpenGLView()->pointPairArray()));
}

TEST_F(ApplicationTest, TitlesOfSameNamedFilesTellTheirFoldersApart) {
    for (const char* folder : {"scenes", "other", "deep/scenes", "third"}) {
        ASSERT_TRUE(QDir(directory_.path()).mkpath(folder));
        writeFile(path(QString(folder) + "/first.orbalin"), archive(randomScene(2)));
    }
    const auto titles = [this] {
        QStringList shown;
        for (Document* document : controller().documents())
            shown.append(document->window()->windowTitle());
        return shown;
    };
    shell_->start({path("scenes/first.orbalin")});
    EXPECT_EQ(titles(), QStringList{"first.orbalin"});
    controller().openDocuments({path("other/first.orbalin"), path("deep/scenes/first.orbalin")});
    EXPECT_EQ(titles(),
              QStringList({"first.orbalin (" + directory_.path().section('/', -1) + "/scenes)",
                           "first.orbalin (other)", "first.orbalin (deep/scenes)"}));
    // A save under the same name elsewhere, and closes: the titles follow.
    Document* untitled = controller().newDocument();
    ASSERT_TRUE(drawn(scene(untitled)));
    ASSERT_TRUE(controller().saveDocumentToFile(untitled, path("third/first.orbalin")));
    controller().closeDocument(controller().documents().at(1));
    controller().closeDocument(controller().documents().at(1));
    EXPECT_EQ(titles(), QStringList({"first.orbalin (scenes)", "first.orbalin (third)"}));
    controller().closeDocument(controller().documents().at(1));
    EXPECT_EQ(titles(), QStringList{"first.orbalin"});
}

TEST_F(ApplicationTest, OpenFromTheFileMenuAndItsShortcutGoesThroughTheDialog) {
    for (const char* name : {"from-menu", "first", "second"})
        writeFile(path(QString(name) + ".orbalin"), archive(randomScene(2)));
    shell_->start({});
    Document* document = controller().documents().front();
    DocumentWindow* window = document->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 60000));
    DialogAnswerer answerer;

    // File ▸ Open…: clicked in the menu bar, then in the menu.
    answerer.filesToChoose = {path("from-menu.orbalin")};
    QMenuBar* bar = window->menuBar();
    auto* menu = window->findChild<QMenu*>("menuFile");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu, 60000));
    QTest::mouseClick(menu, Qt::LeftButton, {},
                      menu->actionGeometry(action(document, "actionOpen")).center());
    ASSERT_EQ(controller().documents().size(), 2u);
    EXPECT_EQ(controller().documents()[1]->window()->windowTitle(), "from-menu.orbalin");

    // Its shortcut, choosing two files at once.
    answerer.filesToChoose = {path("first.orbalin"), path("second.orbalin")};
    press(document, QKeySequence(QKeySequence::Open));
    ASSERT_EQ(controller().documents().size(), 4u);
    EXPECT_EQ(controller().documents()[2]->window()->windowTitle(), "first.orbalin");
    EXPECT_EQ(controller().documents()[3]->window()->windowTitle(), "second.orbalin");
    EXPECT_EQ(answerer.fileDialogs, 2);
    EXPECT_TRUE(answerer.messages.isEmpty());
}

TEST_F(ApplicationTest, AboutTwiceShowsOnePanelWithTheCreditsOnce) {
    shell_->start({});
    Document* document = controller().documents().front();
    action(document, "actionAbout")->trigger();
    AboutController* about = shell_->appController().aboutController();
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about->aboutPanel(), 60000));
    QTextEdit* text = about->aboutTextView();
    // The credits open at their start; a later About keeps where the reader left them.
    QScrollBar* scrollBar = text->verticalScrollBar();
    EXPECT_EQ(scrollBar->value(), 0);
    ASSERT_GT(scrollBar->maximum(), 0);
    scrollBar->setValue(scrollBar->maximum());
    action(document, "actionAbout")->trigger();
    EXPECT_EQ(scrollBar->value(), scrollBar->maximum());
    // So does About after the panel was closed.
    QTest::keyClick(about->aboutPanel(), Qt::Key_Escape);
    ASSERT_FALSE(about->aboutPanel()->isVisible());
    action(document, "actionAbout")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about->aboutPanel(), 60000));
    EXPECT_EQ(scrollBar->value(), scrollBar->maximum());

    int panels = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "aboutPanel" && widget->isVisible())
            ++panels;
    EXPECT_EQ(panels, 1);
    EXPECT_EQ(shell_->appController().aboutController(), about);
    const QString credits = text->toPlainText();
    EXPECT_TRUE(credits.startsWith("Orbalin\n"));
    // The version that --version prints too.
    EXPECT_TRUE(credits.contains("\nVersion " + QCoreApplication::applicationVersion() + "\n"))
        << credits.toStdString();
    EXPECT_EQ(credits.count("What it does"), 1);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(about->textInited());
    EXPECT_EQ(about->aboutPanel()->windowTitle(), "About Orbalin");
    // The first paragraph is centred and bold, as the credits say.
    const QTextBlock title = text->document()->firstBlock();
    EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(title.begin().fragment().charFormat().fontWeight(), QFont::Bold);
}

TEST_F(ApplicationTest, AboutWithMissingCreditsLeavesTheTextEmpty) {
    AboutController about(path("no-credits.rtf"));
    about.setupTextView();
    EXPECT_TRUE(about.textInited());
    EXPECT_TRUE(about.aboutTextView()->toPlainText().isEmpty());
    EXPECT_TRUE(about.aboutTextView()->isReadOnly());
}

uint64_t clockReadings = 0;
uint64_t fakeClock() {
    ++clockReadings;
    return 0xABCD'0000'1234'5678ull;
}

TEST(ApplicationSeeding, FirstAboutReseedsAndLaterOnesDoNot) {
    OrbalinApplication::configure();
    QTemporaryDir settings;
    keepSettingsIn(settings.path());
    // What a generator seeded with the clock's low 32 bits yields.
    seedRandom(0x1234'5678u);
    const double expected1 = randomDoubleBetweenZeroOne();
    const double expected2 = randomDoubleBetweenZeroOne();

    clockReadings = 0;
    const AppController::MicrosecondClock previous = AppController::setMicrosecondClock(&fakeClock);
    {
        OrbalinApplication shell;
        EXPECT_EQ(clockReadings, 1u) << "seeded once at start-up";
        shell.start({});
        Document* document = shell.documentController().documents().front();
        OrbalinDocument* scene = qobject_cast<OrbalinDocument*>(document);
        ASSERT_TRUE(QTest::qWaitFor([scene] { return scene->pointPairArray() != nullptr; }, 60000));

        QAction* about = document->window()->findChild<QAction*>("actionAbout");
        about->trigger();
        EXPECT_EQ(clockReadings, 2u);
        EXPECT_EQ(randomDoubleBetweenZeroOne(), expected1) << "the first About reseeds";
        about->trigger();
        EXPECT_EQ(clockReadings, 2u);
        EXPECT_EQ(randomDoubleBetweenZeroOne(), expected2) << "a second About does not";
    }
    AppController::setMicrosecondClock(previous);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(ApplicationTest, ClosingAWindowStopsItsTimerAndTheLastOneQuits) {
    shell_->start({});
    controller().newDocument();
    Document* first = controller().documents().front();
    Document* second = controller().documents().back();
    ASSERT_TRUE(drawn(scene(first)));
    ASSERT_TRUE(drawn(scene(second)));
    QPointer<OrbalinOpenGLView> firstView = scene(first)->orbalinOpenGLView();
    QPointer<OrbalinOpenGLView> secondView = scene(second)->orbalinOpenGLView();
    ASSERT_TRUE(firstView->isAnimating());
    QSignalSpy lastClosed(&controller(), &DocumentController::lastDocumentClosed);
    const std::weak_ptr<const PointPairs> firstScene = scene(first)->pointPairArray();

    press(first, QKeySequence(QKeySequence::Close));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(firstView.isNull()) << "the closed window's view (and its timer) is gone";
    // Nothing holds on to the scene, so that its memory can go back to the system.
    EXPECT_TRUE(firstScene.expired());
    EXPECT_EQ(controller().documents().size(), 1u);
    EXPECT_EQ(lastClosed.count(), 0);
    ASSERT_FALSE(secondView.isNull());
    EXPECT_TRUE(secondView->isAnimating());

    // Closing the last window ends the program's event loop (and so the program).
    QTimer::singleShot(0, action(second, "actionClose"), &QAction::trigger);
    EXPECT_EQ(runEventLoop(), 0);
    EXPECT_TRUE(secondView.isNull());
    EXPECT_TRUE(controller().documents().empty());
}

TEST_F(ApplicationTest, QuitClosesEveryWindow) {
    shell_->start({});
    controller().newDocument();
    QTimer::singleShot(0, action(controller().documents().front(), "actionQuit"),
                       &QAction::trigger);
    EXPECT_EQ(runEventLoop(), 0);
    EXPECT_TRUE(controller().documents().empty());
    EXPECT_EQ(visibleDocumentWindows(), 0);
}

TEST(OrbalinDocumentTest, ReadingRefusesBadDataAndKeepsTheScene) {
    OrbalinDocument document;
    EXPECT_EQ(document.windowNibName(), "OrbalinDocument");
    const auto scene =
        std::make_shared<const PointPairs>(PointPairs{GLPointPair::randomPointPair()});
    document.setPointPairArray(scene);
    document.setPointPairArray(document.pointPairArray());
    EXPECT_EQ(document.pointPairArray(), scene);

    const Result<void> garbage = document.loadDataRepresentation("garbage", "Orbalin Scene");
    ASSERT_FALSE(garbage);
    EXPECT_EQ(garbage.reason(), "the file is not a scene: it is not a property list");
    EXPECT_EQ(document.pointPairArray(), scene);
    EXPECT_FALSE(document.loadDataRepresentation(QByteArray(), "Orbalin Scene"));
    EXPECT_EQ(document.pointPairArray(), scene);

    // The type name is not looked at.
    const Result<QByteArray> data = document.dataRepresentationOfType("anything");
    ASSERT_TRUE(data);
    OrbalinDocument copy;
    ASSERT_TRUE(copy.loadDataRepresentation(*data, "other"));
    ASSERT_EQ(copy.pointPairArray()->size(), 1u);
    EXPECT_EQ(copy.pointPairArray()->front()->point1()->x(), scene->front()->point1()->x());
}

TEST(OrbalinDocumentTest, ADocumentWithoutASceneRefusesToWrite) {
    OrbalinDocument document;
    const Result<QByteArray> data = document.dataRepresentationOfType("Orbalin Scene");
    ASSERT_FALSE(data);
    EXPECT_FALSE(data.reason().isEmpty());
    EXPECT_EQ(document.displayName(), "Untitled");
    document.setUntitledNumber(3);
    EXPECT_EQ(document.displayName(), "Untitled 3");
    document.setFilePath("/somewhere/scene.orbalin");
    EXPECT_EQ(document.displayName(), "scene.orbalin");
}

// Writes a scene file holding the given pairs.
void writeScene(const QString& path, PointPairs pairs) {
    OrbalinDocument source;
    source.setPointPairArray(std::make_shared<const PointPairs>(std::move(pairs)));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(*source.dataRepresentationOfType("Orbalin Scene"));
}

// A window's Open Recent entries, newest first, Clear Menu left out.
QList<QAction*> recentEntries(Document* document) {
    QList<QAction*> entries;
    for (QAction* entry : document->window()->findChild<QMenu*>("menuOpenRecent")->actions())
        if (!entry->isSeparator() && entry->objectName() != "actionClearRecentFiles")
            entries.append(entry);
    return entries;
}

QStringList recentNames(Document* document) {
    QStringList names;
    for (QAction* entry : recentEntries(document))
        names.append(entry->text());
    return names;
}

TEST_F(ApplicationTest, FullScreenHidesTheMenuBarAndEndsByItsKeyEscOrTheMenu) {
    shell_->start({});
    Document* document = controller().documents().front();
    ASSERT_TRUE(drawn(scene(document)));
    DocumentWindow* window = document->window();
    OrbalinOpenGLView* view = scene(document)->orbalinOpenGLView();
    QAction* fullScreen = action(document, "actionFullScreen");
    const std::pair<const char*, std::function<void()>> endings[] = {
        {"its key", [&] { press(document, fullScreen->shortcut()); }},
        {"Esc", [&] { press(document, QKeySequence(Qt::Key_Escape)); }},
        {"the menu", [&] { fullScreen->trigger(); }},
    };
    for (const auto& [how, end] : endings) {
        SCOPED_TRACE(how);
        press(document, fullScreen->shortcut());
        EXPECT_TRUE(window->isFullScreen());
        EXPECT_FALSE(window->menuBar()->isVisible());
        EXPECT_TRUE(QTest::qWaitFor([&] { return view->size() == window->size(); }, 60000));
        // The hidden menu bar's commands keep their keys.
        press(document, QKeySequence(Qt::Key_Space));
        EXPECT_TRUE(view->isPaused());
        view->setPaused(false);
        end();
        EXPECT_FALSE(window->isFullScreen());
        EXPECT_FALSE(fullScreen->isChecked());
        EXPECT_TRUE(window->menuBar()->isVisible());
    }
}

TEST_F(ApplicationTest, SpacePausesAndResumesTheSceneWhereItStopped) {
    shell_->start({});
    Document* document = controller().documents().front();
    ASSERT_TRUE(drawn(scene(document)));
    OrbalinOpenGLView* view = scene(document)->orbalinOpenGLView();
    QAction* pause = action(document, "actionPauseAnimation");

    // Another window's view, animating meanwhile, shows the time going by.
    OrbalinDocument* otherDocument = scene(controller().newDocument());
    ASSERT_TRUE(drawn(otherDocument));
    OrbalinOpenGLView* other = otherDocument->orbalinOpenGLView();
    const auto turnsOn = [other] {
        const double from = other->camera().xangle;
        return QTest::qWaitFor([&] { return other->camera().xangle != from; }, 60000);
    };

    press(document, QKeySequence(Qt::Key_Space));
    EXPECT_FALSE(view->isAnimating());
    EXPECT_EQ(pause->text(), "&Resume Animation");
    const OrbitCamera stopped = view->camera();
    for (int tick = 0; tick < 3; ++tick)
        ASSERT_TRUE(turnsOn());
    EXPECT_EQ(view->camera().xangle, stopped.xangle);
    EXPECT_EQ(view->camera().zangle, stopped.zangle);

    press(document, QKeySequence(Qt::Key_Space));
    EXPECT_TRUE(view->isAnimating());
    EXPECT_EQ(pause->text(), "&Pause Animation");
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->camera().xangle != stopped.xangle; }, 60000));
    EXPECT_LT(std::abs(view->camera().xangle - stopped.xangle), 20 * std::abs(stopped.dxang))
        << "it carries on from where it stopped";
}

TEST_F(ApplicationTest, TheKeysReachTheSceneAndTheViewMenuZoomsAndResetsIt) {
    shell_->start({});
    Document* document = controller().documents().front();
    ASSERT_TRUE(drawn(scene(document)));
    OrbalinOpenGLView* view = scene(document)->orbalinOpenGLView();

    // Active, and never clicked in, the window gives the scene the keyboard. (Other suites'
    // windows on the same display may take the focus meanwhile: the window is made active
    // again until it is.)
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (!document->window()->isActiveWindow())
                document->window()->activateWindow();
            return QGuiApplication::focusWindow() == view;
        },
        60000));
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Left);
    EXPECT_NE(view->userView().yaw(), 0.0);

    // The scene's own menu, from a right click.
    QStringList offered;
    QTimer::singleShot(0, [&] {
        if (QTest::qWaitFor([] { return QApplication::activePopupWidget(); }, 60000)) {
            QWidget* menu = QApplication::activePopupWidget();
            for (const QAction* entry : menu->actions())
                offered.append(entry->text());
            menu->close();
        }
    });
    QTest::mouseClick(view, Qt::RightButton, {}, QPoint(view->width() / 2, view->height() / 2));
    EXPECT_EQ(offered, QStringList({"&Pause Animation", "Reset &View", "&Full Screen", "", "&Copy",
                                    "&Export Image…"}));

    QAction* reset = action(document, "actionResetView");
    ASSERT_NE(reset, nullptr);
    EXPECT_TRUE(document->window()->findChild<QMenu*>("menuView")->actions().contains(reset));
    EXPECT_EQ(reset->shortcut(), QKeySequence(Qt::Key_Home)); // the one the menu shows
    // key                                     zoom afterwards: in (>1) or out (<1)
    const std::pair<QKeySequence, bool> zooms[] = {{QKeySequence(Qt::CTRL | Qt::Key_Plus), true},
                                                   {QKeySequence(Qt::CTRL | Qt::Key_Equal), true},
                                                   {QKeySequence(Qt::CTRL | Qt::Key_Minus), false}};
    for (const auto& [key, in] : zooms) {
        SCOPED_TRACE(key.toString().toStdString());
        press(document, key);
        EXPECT_EQ(view->userView().zoom() > 1.0, in);
        EXPECT_FALSE(view->userView().followsCamera(view->sceneTime())) << "the orbit is held";
        press(document, QKeySequence(Qt::CTRL | Qt::Key_0));
        EXPECT_TRUE(view->userView().isIdentity());
    }
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Home), QKeySequence(Qt::Key_R)}) {
        SCOPED_TRACE(key.toString().toStdString());
        const QPointF centre(view->width() / 2.0, view->height() / 2.0);
        QWheelEvent wheel(centre, view->mapToGlobal(centre), QPoint(), QPoint(0, 240), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view, &wheel);
        EXPECT_GT(view->userView().zoom(), 1.0);
        press(document, key);
        EXPECT_TRUE(view->userView().isIdentity());
        EXPECT_TRUE(view->userView().followsCamera(view->sceneTime()));
    }
}

// Both take the frame on show: as big as the view in device pixels, in the scene's own colours.
TEST_F(ApplicationTest, ExportImageAndCopyTakeTheFrameInDevicePixelsAndTheScenesColours) {
    // Red running to cyan along all three axes: whatever the camera, some segment shows.
    PointPairs axes;
    for (const auto& [x, y, z] : {std::tuple(500, 0, 0), {0, 500, 0}, {0, 0, 500}})
        axes.push_back(
            std::make_shared<GLPointPair>(GLPointWithColor::pointWithX(-x, -y, -z, 1, 0, 0, 1),
                                          GLPointWithColor::pointWithX(x, y, z)));
    writeScene(path("axes.orbalin"), std::move(axes));
    shell_->start({path("axes.orbalin")});
    Document* document = controller().documents().front();
    ASSERT_TRUE(drawn(scene(document)));
    OrbalinOpenGLView* view = scene(document)->orbalinOpenGLView();
    const double start = view->camera().xangle;
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->camera().xangle != start; }, 60000));

    DialogAnswerer answerer;
    const auto exportAs = [&](const char* typed, const char* filter, const char* written,
                              const char* format) {
        answerer.filesToChoose = {path(typed)};
        answerer.filterToChoose = filter;
        action(document, "actionExportImage")->trigger();
        EXPECT_EQ(QImageReader(path(written)).format(), format);
        return QImage(path(written));
    };
    const std::pair<const char*, std::function<QImage()>> takers[] = {
        {"Export Image", [&] { return exportAs("frame", "", "frame.png", "png"); }},
        {"Export Image, BMP chosen in the dialog",
         [&] { return exportAs("chosen", "BMP image", "chosen.bmp", "bmp"); }},
        {"Copy",
         [&] {
             press(document, QKeySequence(QKeySequence::Copy));
             return QApplication::clipboard()->image();
         }},
    };
    for (const auto& [how, take] : takers) {
        SCOPED_TRACE(how);
        const QImage picture = take().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(picture.size(), view->size() * view->devicePixelRatio());
        int lit = 0, offTheScene = 0, red = 0, cyan = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                if (c.red() + c.green() + c.blue() == 0)
                    continue;
                ++lit;
                // Between red (255, 0, 0) and cyan (0, 255, 255).
                if (std::abs(c.green() - c.blue()) > 2 || std::abs(c.red() + c.green() - 255) > 3)
                    ++offTheScene;
                red += c.red() > 200 ? 1 : 0;
                cyan += c.green() > 200 ? 1 : 0;
            }
        }
        EXPECT_GT(lit, 100);
        EXPECT_EQ(offTheScene, 0);
        EXPECT_GT(red, 0);
        EXPECT_GT(cyan, 0);
    }
    EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(' ').toStdString();
}

TEST(ImageFileTest, WritesInTheFormatOfTheNameOrSaysWhyItCouldNot) {
    QTemporaryDir folder;
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // name, format chosen in the dialog, format written ("": the write fails)
        {"picture.JPEG", "png", "jpeg"},
        {"picture.v2", "bmp", ""}, // a suffix Qt cannot write is refused, as --output does
        {"missing/picture.png", "png", ""},
        {"", "png", ""}, // the folder itself
    };
    for (const auto& [name, chosen, written] : cases) {
        SCOPED_TRACE(name);
        const QString file = folder.filePath(name);
        const Result<void> result = writeImageFile(image, file, pictureFormatFor(file, chosen));
        EXPECT_EQ(result.ok(), *written != 0);
        EXPECT_EQ(QImageReader(file).format(), written);
        EXPECT_TRUE(result || !result.reason().isEmpty()) << "a refusal says why";
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary files are left behind";
}

TEST_F(ApplicationTest, OpenRecentListsFilesInEveryWindowAndSurvivesARestart) {
    writeScene(path("a.orbalin"), {});
    writeScene(path("b.orbalin"), {});
    shell_->start({path("a.orbalin"), path("b.orbalin")});
    Document* saved = controller().newDocument();
    ASSERT_TRUE(drawn(scene(saved)));
    ASSERT_TRUE(controller().saveDocumentToFile(saved, path("c.orbalin")));
    const QStringList newestFirst = {"c.orbalin", "b.orbalin", "a.orbalin"};
    for (Document* document : controller().documents())
        EXPECT_EQ(recentNames(document), newestFirst);

    shell_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    shell_ = std::make_unique<OrbalinApplication>();
    shell_->start({});
    Document* fresh = controller().documents().front();
    ASSERT_EQ(recentNames(fresh), newestFirst);

    recentEntries(fresh).back()->trigger();
    ASSERT_EQ(controller().documents().size(), 2u);
    EXPECT_EQ(controller().documents().back()->window()->windowTitle(), "a.orbalin");
    EXPECT_EQ(recentNames(fresh), QStringList({"a.orbalin", "c.orbalin", "b.orbalin"}));

    fresh->window()->findChild<QAction*>("actionClearRecentFiles")->trigger();
    EXPECT_TRUE(recentNames(controller().documents().back()).isEmpty());
    QSettings().sync();
    EXPECT_FALSE(readFile(QSettings().fileName()).contains("Invalid"));
    EXPECT_FALSE(fresh->window()->findChild<QMenu*>("menuOpenRecent")->menuAction()->isEnabled());
}

TEST_F(ApplicationTest, AMissingRecentFileIsReportedAndTakenOffTheMenu) {
    writeScene(path("gone.orbalin"), {});
    writeScene(path("kept.orbalin"), {});
    shell_->start({path("gone.orbalin"), path("kept.orbalin")});
    Document* document = controller().documents().front();
    ASSERT_TRUE(QFile::remove(path("gone.orbalin")));

    DialogAnswerer answerer;
    recentEntries(document).back()->trigger();
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_EQ(answerer.messages[0],
              QString::fromUtf8("The document “gone.orbalin” could not be opened."));
    EXPECT_TRUE(answerer.reasons[0].contains("no longer there"));
    EXPECT_EQ(recentNames(document), QStringList({"kept.orbalin"}));
    EXPECT_EQ(controller().documents().size(), 2u);
}

TEST(RecentFilesTest, KeepsTheTenNewestOnceEach) {
    QTemporaryDir settings;
    keepSettingsIn(settings.path());
    RecentFiles recent(QStringLiteral("test/recent"));
    for (int i = 1; i <= 12; ++i)
        recent.add(QStringLiteral("/f%1").arg(i));
    recent.add(QStringLiteral("/f5")); // moves to the front
    const QStringList expected = {"/f5", "/f12", "/f11", "/f10", "/f9",
                                  "/f8", "/f7",  "/f6",  "/f4",  "/f3"};
    EXPECT_EQ(recent.files(), expected);
    EXPECT_EQ(RecentFiles(QStringLiteral("test/recent")).files(), expected) << "as stored";
}

TEST_F(ApplicationTest, NewWindowsTakeTheLastSizeAndCascadeWithoutCoveringEachOther) {
    shell_->start({});
    DocumentWindow* first = controller().documents().front()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first, 60000));
    first->resize(520, 420);
    const QPoint step = WindowPlacement::cascadeStep();

    QApplication::setActiveWindow(first);
    DocumentWindow* second = controller().newDocument()->window();
    EXPECT_EQ(second->size(), QSize(520, 420));
    EXPECT_EQ(second->pos(), first->pos() + step);
    // From the first window again: the second one's place is taken.
    QApplication::setActiveWindow(first);
    EXPECT_EQ(controller().newDocument()->window()->pos(), first->pos() + step * 2);

    // Sizes the window system gives are not the user's: full screen, the resizes that follow
    // leaving it (as a window manager restores a maximised window), and a window filling the
    // whole available area.
    const QRect area = first->screen()->availableGeometry();
    first->setWindowState(Qt::WindowFullScreen);
    first->resize(first->screen()->size());
    first->setWindowState(Qt::WindowNoState);
    first->resize(area.size() - QSize(10, 40));
    QApplication::setActiveWindow(first);
    EXPECT_EQ(controller().newDocument()->window()->size(), QSize(520, 420));
    first->resize(area.size() + QSize(50, 50));
    EXPECT_EQ(controller().newDocument()->window()->size(), QSize(520, 420));

    shell_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    shell_ = std::make_unique<OrbalinApplication>();
    shell_->start({});
    EXPECT_EQ(controller().documents().front()->window()->size(), QSize(520, 420));

    // A size too large for this screen (kept from a larger one, or given by hand), and a
    // cascade that runs past the area's edges: every window stays whole on it.
    for (const auto& [size, windows] :
         {std::pair{QSize(4000, 3000), 2}, {area.size() * 3 / 4, 10}}) {
        QSettings().setValue("DocumentWindow/size", size);
        shell_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        shell_ = std::make_unique<OrbalinApplication>();
        shell_->start({});
        for (int i = 0; i < windows; ++i) {
            DocumentWindow* window = controller().newDocument()->window();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 60000));
            EXPECT_TRUE(area.contains(window->frameGeometry()))
                << size.width() << "x" << size.height() << ", window " << i;
        }
    }
}

TEST_F(ApplicationTest, DialogsStartInTheDocumentsFolderOrTheLastOneUsed) {
    ASSERT_TRUE(QDir(directory_.path()).mkpath("one"));
    ASSERT_TRUE(QDir(directory_.path()).mkpath("two"));
    writeScene(path("one/a.orbalin"), {});
    writeScene(path("two/b.orbalin"), {});
    shell_->start({path("one/a.orbalin"), path("two/b.orbalin")});
    Document* inOne = controller().documents().front();
    Document* untitled = controller().newDocument();
    ASSERT_TRUE(drawn(scene(untitled)));

    DialogAnswerer answerer; // cancels every dialog
    const std::tuple<Document*, const char*, const char*> cases[] = {
        {inOne, "actionOpen", "one"},
        {untitled, "actionOpen", "two"}, // where the last file came from
        {untitled, "actionSaveAs", "two"},
    };
    for (const auto& [document, command, folder] : cases) {
        SCOPED_TRACE(command);
        action(document, command)->trigger();
        EXPECT_EQ(answerer.folders.last(), QDir(path(folder)).absolutePath());
    }
    EXPECT_EQ(answerer.fileDialogs, 3);
}

TEST_F(ApplicationTest, LongFileNamesAreElidedInTheMiddleOfErrorBoxes) {
    shell_->start({});
    DialogAnswerer answerer;
    controller().openDocumentWithContentsOfFile(path(QString(150, u'x') + "-end.orbalin"));
    ASSERT_EQ(answerer.messages.size(), 1);
    const QString text = answerer.messages[0];
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("The document “xxx"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QString::fromUtf8("-end.orbalin” could not be opened.")));
    EXPECT_TRUE(text.contains(QString::fromUtf8("…")));
    EXPECT_LT(text.size(), 120);
}

// A scene large enough that reading or writing it takes a good while, made once.
const QByteArray& largeSceneData() {
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

TEST_F(ApplicationTest, OtherWindowsAnimateWhileALargeSceneIsOpenedAndSaved) {
    writeFile(path("large.orbalin"), largeSceneData());
    shell_->start({});
    Document* animating = controller().documents().front();
    ASSERT_TRUE(drawn(scene(animating)));
    OrbalinOpenGLView* view = scene(animating)->orbalinOpenGLView();
    // Posted before the job starts, this runs as soon as the program takes events again: while
    // the job is under way when it goes on, only after it when it blocks. The other window
    // must then turn on, twice, before the job has returned; the job is held until then.
    bool returned = false;
    int turnsDuringTheJob = 0;
    std::unique_ptr<Gate> turned;
    const WorkHeld held([&](BackgroundTask&) { turned->wait(std::chrono::seconds(60)); });
    const auto watchTheOtherWindow = [&] {
        returned = false;
        turnsDuringTheJob = 0;
        turned = std::make_unique<Gate>();
        QTimer::singleShot(0, [&] {
            for (int turn = 0; turn < 2 && !returned; ++turn) {
                const double from = view->camera().xangle;
                if (QTest::qWaitFor([&] { return view->camera().xangle != from; }, 60000) &&
                    !returned)
                    ++turnsDuringTheJob;
            }
            turned->open();
        });
    };

    watchTheOtherWindow();
    Document* large = controller().openDocumentWithContentsOfFile(path("large.orbalin"));
    returned = true;
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(scene(large)->pointPairArray()->size(), 200000u);
    EXPECT_EQ(turnsDuringTheJob, 2) << "the other window went on animating during the open";

    watchTheOtherWindow();
    ASSERT_TRUE(controller().saveDocumentToFile(large, path("copy.orbalin")));
    returned = true;
    EXPECT_EQ(turnsDuringTheJob, 2) << "the other window went on animating during the save";
    EXPECT_EQ(readFile(path("copy.orbalin")).size(), largeSceneData().size());
}

TEST_F(ApplicationTest, CancellingAnOpenOrASaveLeavesNothingBehind) {
    const int delay = progressDialogDelay();
    setProgressDialogDelay(0);
    writeFile(path("large.orbalin"), largeSceneData());
    writeFile(path("old.orbalin"), "the old file");
    shell_->start({});
    Document* untitled = controller().documents().front();
    ASSERT_TRUE(drawn(scene(untitled)));
    const auto saveLarge = [&] {
        scene(untitled)->setPointPairArray(
            *KeyedUnarchiver::unarchiveObjectWithData(largeSceneData()));
        return controller().saveDocumentToFile(untitled, path("old.orbalin"));
    };
    const struct {
        const char* name;
        std::function<bool()> run;
    } cases[] = {
        {"open",
         [&] { return controller().openDocumentWithContentsOfFile(path("large.orbalin")); }},
        {"save over an old file", saveLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DialogAnswerer answerer;
        ProgressCanceller canceller;
        EXPECT_FALSE(c.run());
        EXPECT_TRUE(canceller.pressed);
        EXPECT_TRUE(answerer.messages.isEmpty()) << "a cancelled job is no failure";
        EXPECT_EQ(controller().documents().size(), 1u);
        EXPECT_EQ(visibleDocumentWindows(), 1);
        EXPECT_EQ(readFile(path("old.orbalin")), "the old file");
        EXPECT_EQ(filesIn(directory_.path()), (QStringList{"large.orbalin", "old.orbalin"}));
        EXPECT_TRUE(untitled->filePath().isEmpty());
    }
    setProgressDialogDelay(delay);
}

TEST_F(ApplicationTest, QuitDuringAnOpenCancelsIt) {
    writeFile(path("large.orbalin"), largeSceneData());
    shell_->start({});
    Document* other = controller().documents().front();
    Document* opened = other;
    // The read is held until it is cancelled.
    const WorkHeld held([](BackgroundTask& task) {
        QDeadlineTimer deadline(60000);
        while (!task.isCancelled() && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    // The open's own event loop runs the quit: the read is cancelled, not waited for.
    QTimer::singleShot(
        0, [&] { opened = controller().openDocumentWithContentsOfFile(path("large.orbalin")); });
    QTimer::singleShot(0, [&] { action(other, "actionQuit")->trigger(); });
    EXPECT_EQ(runEventLoop(), 0);
    EXPECT_EQ(opened, nullptr);
    EXPECT_TRUE(controller().documents().empty());
}

TEST_F(ApplicationTest, CommandsDuringASaveWaitForItToEndAndTheFileIsWhole) {
    writeFile(path("large.orbalin"), largeSceneData());
    const struct {
        const char* command; // given while the large scene is being saved
        bool onTheSavedWindow;
        bool closes;        // the saved document's window, once the save has ended
        bool quits;         // every window
        bool typed = false; // Ctrl+W typed on the window once the progress dialog shows
    } cases[] = {
        {"actionQuit", false, true, true},
        {"actionClose", true, true, false},
        {"actionSaveAs", true, false, false}, // no dialog: Save As is dropped
        {"Ctrl+W", true, true, false, true},
    };
    const int delay = progressDialogDelay();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        setProgressDialogDelay(c.typed ? 0 : delay);
        shell_ = std::make_unique<OrbalinApplication>();
        shell_->start({path("large.orbalin")});
        Document* large = controller().documents().front();
        Document* other = controller().newDocument();
        QPointer<DocumentWindow> largeWindow = large->window();
        DialogAnswerer answerer;
        answerer.filesToChoose = {path("elsewhere")};
        // The save is held until the command has been given.
        Gate given;
        const WorkHeld held([&](BackgroundTask&) { given.wait(std::chrono::seconds(60)); });
        bool saved = false;
        bool savingDuringTheCommand = false;
        bool secondSave = true;
        // The second callback runs while the first one's save is under way.
        QTimer::singleShot(0, [&] {
            saved = controller().saveDocumentToFile(large, path("saved.orbalin"));
            if (!c.quits)
                QCoreApplication::exit(0);
        });
        QTimer::singleShot(0, [&] {
            // Pressed again, the same save is not started twice.
            secondSave = controller().saveDocumentToFile(large, path("saved.orbalin"));
            savingDuringTheCommand = controller().isSaving(large);
            if (!c.typed) {
                action(c.onTheSavedWindow ? large : other, c.command)->trigger();
            } else {
                auto* progress = largeWindow->findChild<QProgressDialog*>("progressDialog");
                EXPECT_TRUE(QTest::qWaitFor([&] { return progress->isVisible(); }, 60000));
                press(large, QKeySequence(QKeySequence::Close));
                EXPECT_EQ(progress->labelText(), "Closing after the save…");
            }
            given.open();
        });
        EXPECT_EQ(runEventLoop(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(saved);
        EXPECT_TRUE(savingDuringTheCommand);
        EXPECT_FALSE(secondSave);
        EXPECT_EQ(answerer.fileDialogs, 0);
        EXPECT_EQ(largeWindow.isNull(), c.closes);
        EXPECT_EQ(controller().documents().size(), c.quits ? 0u : c.closes ? 1u : 2u);
        EXPECT_EQ(readFile(path("saved.orbalin")), largeSceneData());
        EXPECT_EQ(filesIn(directory_.path()), (QStringList{"large.orbalin", "saved.orbalin"}));
        if (!c.closes) {
            EXPECT_EQ(largeWindow->windowTitle(), "saved.orbalin");
        }
        shell_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QFile::remove(path("saved.orbalin"));
    }
    setProgressDialogDelay(delay);
}

} // namespace
