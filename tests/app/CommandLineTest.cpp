// The command line through the real program, run with no display server in reach (as over SSH
// or in a thumbnailer's sandbox); its pictures are checked against the scene view's own frame.
#include "app/CommandLine.h"
#include "app/OrbalinApplication.h"
#include "framework/DocumentController.h"
#include "framework/DocumentWindow.h"
#include "framework/ErrorBox.h"
#include "model/KeyedArchiver.h"
#include "model/KeyedUnarchiver.h"
#include "model/Random.h"
#include "view/ViewTestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// With `platform`, Qt's platform of that name instead.
ProgramRun runWithoutDisplay(const QStringList& arguments, const QString& platform = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ORBALIN_PROGRAM), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// At most one pixel in a hundred differs by more than a fifth of full scale in any channel.
void expectLooksLike(const QImage& picture, const QImage& reference) {
    ASSERT_EQ(picture.size(), reference.size());
    const QImage a = picture.convertToFormat(QImage::Format_ARGB32);
    const QImage b = reference.convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differing +=
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))}) > 51;
        }
    EXPECT_LE(differing, a.width() * a.height() / 100);
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(data), data.size());
}

class CommandLineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(directory_.isValid());
        seedRandom(11);
        PointPairs pairs;
        for (int i = 0; i < 30; ++i)
            pairs.push_back(GLPointPair::randomPointPair());
        sceneData_ = KeyedArchiver::archivedDataWithRootObject(pairs);
        writeFile(path("scene.orbalin"), sceneData_);
        writeFile(path("broken.orbalin"), sceneData_.left(sceneData_.size() - 7));
    }

    QString path(const QString& name) const { return directory_.filePath(name); }
    QStringList files() const { return QDir(directory_.path()).entryList(QDir::Files); }

    QTemporaryDir directory_;
    QByteArray sceneData_;
};

} // namespace

TEST_F(CommandLineTest, AnswersWithoutADisplay) {
    const QString brokenReason = asSentence(
        KeyedUnarchiver::unarchiveObjectWithData(sceneData_.left(sceneData_.size() - 7)).reason());
    ASSERT_FALSE(brokenReason.isEmpty());
    const QString usage = QStringLiteral("--render SCENE --output PICTURE");
    // The arguments are split at spaces; {dir} stands for the test's folder.
    struct Case {
        QString arguments;
        int exitCode = 0;
        QString out = {};       // standard output contains this
        QString err = {};       // standard error contains this; empty: nothing on it
        QString picture = {};   // the file written, or empty when nothing may be written
        QSize size = {};        // its size
        QByteArray format = {}; // its format
        // A picture in the references folder that it must look like (a few pixels may
        // differ, as OpenGL drivers round a line's ends their own way)
        QString reference = {};
    };
    const QString render = QStringLiteral("--render {dir}/scene.orbalin --output ");
    // A row a line:
    // clang-format off
    const std::vector<Case> cases = {
        {"--help", 0, usage},
        {"-h", 0, "Usage: orbalin [options]"},
        {"--version", 0, "orbalin " ORBALIN_VERSION "\n"},
        {"-v", 0, "orbalin " ORBALIN_VERSION "\n"},
        {"{dir}/scene.orbalin", 1, {}, "there is no display to show windows on"},
        // Mistakes in the command line: exit status 2, one line and where to read more.
        {"--bogus", 2, {}, "orbalin: unknown option '--bogus'\n"},
        {"-x {dir}/scene.orbalin", 2, {}, "orbalin: unknown option '-x'\n"},
        {"--render {dir}/scene.orbalin --output", 2, {}, "orbalin: missing value after '--output'\n"},
        {"--format png", 2, {}, "--format goes with --render"},
        {render + "- --format xyz", 2, {}, "--format takes one of "},
        {render + "{dir}/p.png --format jpeg", 2, {}, "“{dir}/p.png” names another format than --format jpeg."},
        {"--render {dir}/scene.orbalin", 2, {}, "--render needs --output"},
        {"--size 64", 2, {}, "--size goes with --render"},
        {render + "{dir}/p.png --size 0x9", 2, {}, "--size takes WxH or N"},
        {render + "{dir}/p.png --ticks -1", 2, {}, "--ticks takes"},
        {render + "{dir}/p.nosuchformat", 2, {},
         "“p.nosuchformat” does not name a picture format that can be written here: its suffix must be one of "},
        // Pictures: N means N x N, the suffix names the format, and no suffix means PNG.
        {render + "{dir}/p.png --size 48 --seed 1", 0, {}, {}, "p.png", {48, 48}, "png", "seed-1-48.png"},
        {render + "{dir}/p.jpg --size 120x80 --seed 2 --ticks 200", 0, {}, {}, "p.jpg", {120, 80}, "jpeg",
         "seed-2-120x80-ticks-200.jpg"},
        {render + "{dir}/picture --ticks 0", 0, {}, {}, "picture", {640, 480}, "png"},
        {render + "{dir}/picture --format bmp", 0, {}, {}, "picture", {640, 480}, "bmp"},
        {render + "{dir}/p.JPEG --format jpg", 0, {}, {}, "p.JPEG", {640, 480}, "jpeg"},
        {render + "{dir}/t.png --size 40x30 --seed 4 --background transparent", 0, {}, {}, "t.png", {40, 30}, "png",
         "seed-4-40x30-transparent.png"},
        // Animations (their contents are read back by the ecosystem's tools in a suite of their own).
        {render + "{dir}/a.gif --duration 0.2 --size 40x30", 0, {}, {}, "a.gif", {40, 30}, "gif"},
        {render + "- --duration 1 --format mp4", 2, {}, "MP4 cannot go to standard output"},
        {render + "{dir}/a.png --duration 1", 2, {}, "“{dir}/a.png” does not name an animation format"},
        {render + "{dir}/a.gif --duration 1 --fps 62.5", 2, {}, "GIF plays at most 31.25 frames a second"},
        {render + "{dir}/a.mp4 --duration 1 --background transparent", 2, {}, "needs an animation that keeps transparency"},
        {render + "{dir}/a.webm --duration 0", 2, {}, "--duration takes seconds"},
        {render + "{dir}/p.png --fps 30", 2, {}, "--fps goes with --duration"},
        // Unreadable scenes and unwritable pictures say why, as the dialog would, and write
        // nothing at all.
        {"--render {dir}/missing.orbalin --output {dir}/p.png", 1, {},
         "The document “missing.orbalin” could not be opened. No such file"},
        {"--render {dir}/broken.orbalin --output {dir}/p.png", 1, {},
         "The document “broken.orbalin” could not be opened. " + brokenReason},
        {"--render {dir} --output {dir}/p.png", 1, {}, "could not be opened. It is a folder"},
        {render + "{dir}/no/such/folder/p.png", 1, {}, "The picture “p.png” could not be written."},
        {render + "{dir}/", 1, {}, "The picture “{dir}/” could not be written."},
    };
    // clang-format on
    const QStringList before = files();
    for (const Case& c : cases) {
        QStringList arguments = c.arguments.split(u' ');
        arguments.replaceInStrings(QStringLiteral("{dir}"), directory_.path());
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const ProgramRun run = runWithoutDisplay(arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.out.contains(c.out)) << run.out.toStdString();
        if (c.exitCode == 0) {
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        } else {
            EXPECT_TRUE(run.err.contains(QString(c.err).replace("{dir}", directory_.path())))
                << run.err.toStdString();
        }
        if (c.exitCode == 2) {
            // The mistake and a pointer to the help, not the help itself.
            EXPECT_TRUE(run.err.startsWith("orbalin: ")) << run.err.toStdString();
            EXPECT_TRUE(run.err.endsWith("\nTry 'orbalin --help' for more information.\n"));
            EXPECT_EQ(run.err.count(u'\n'), 2) << run.err.toStdString();
        }

        QStringList expected = before;
        if (!c.picture.isEmpty()) {
            QImageReader reader(path(c.picture));
            EXPECT_EQ(reader.format(), c.format);
            EXPECT_EQ(reader.size(), c.size);
            if (!c.reference.isEmpty())
                expectLooksLike(QImage(path(c.picture)),
                                QImage(QStringLiteral(ORBALIN_REFERENCES "/") + c.reference));
            expected.append(c.picture);
            expected.sort();
        }
        // Nothing else: no temporary file left behind, no picture from a failure.
        EXPECT_EQ(files(), expected);
        if (!c.picture.isEmpty())
            QFile::remove(path(c.picture));
    }
    // Platforms without OpenGL windows say so in one line.
    for (const QString platform : {"offscreen", "minimal"}) {
        const ProgramRun run = runWithoutDisplay({path("scene.orbalin")}, platform);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.endsWith(QStringLiteral("\norbalin: the “%1” platform cannot show "
                                                    "OpenGL windows, which scenes are drawn in; "
                                                    "--render draws pictures without a display.\n")
                                         .arg(platform)))
            << run.err.toStdString();
    }
}

TEST_F(CommandLineTest, WritesOnlyOrdinaryFilesOrStandardOutput) {
    struct Node {
        mode_t type = 0;
        dev_t device = 0;
    };
    const auto nodeAt = [](const QString& path) {
        struct stat info {};
        ::lstat(QFile::encodeName(path).constData(), &info);
        return Node{info.st_mode & S_IFMT, info.st_rdev};
    };
    struct Case {
        const char* name;
        std::function<bool(const QString&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"null.png",
         [](const QString& path) {
             return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3)) ==
                    0;
         },
         "“null.png” is a device, not a file: only ordinary files are saved over; --output - "
         "writes the picture to standard output."},
        {"pipe.png",
         [](const QString& path) {
             return ::mkfifo(QFile::encodeName(path).constData(), 0666) == 0;
         },
         "“pipe.png” is a named pipe, not a file: only ordinary files are saved over; --output - "
         "writes the picture to standard output."},
        {"folder.png", [](const QString& path) { return QDir().mkdir(path); },
         "“folder.png” is a folder, not a file: only ordinary files are saved over."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = path(c.name);
        if (!c.make(target)) {
            EXPECT_NE(::geteuid(), 0u) << "only device nodes may need root";
            continue;
        }
        const Node before = nodeAt(target);
        const ProgramRun run =
            runWithoutDisplay({"--render", path("scene.orbalin"), "--output", target});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, QStringLiteral("orbalin: The picture “%1” could not be written. %2\n")
                               .arg(c.name, c.reason));
        EXPECT_EQ(nodeAt(target).type, before.type);
        EXPECT_EQ(nodeAt(target).device, before.device);
    }

    // "-" is standard output, here a pipe, with the picture alone on it.
    for (const auto& [format, name] : {std::pair("", "png"), std::pair("jpg", "jpeg")}) {
        SCOPED_TRACE(name);
        QStringList arguments = {"--render", path("scene.orbalin"), "--output", "-", "--size",
                                 "64x48"};
        if (*format)
            arguments << "--format" << format;
        QProcess process;
        process.start(QStringLiteral(ORBALIN_PROGRAM), arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        QByteArray picture = process.readAllStandardOutput();
        QBuffer buffer(&picture);
        QImageReader reader(&buffer);
        EXPECT_EQ(reader.format(), name);
        EXPECT_EQ(reader.read().size(), QSize(64, 48));
    }
    // Closed, it is said to be; no file opened meanwhile takes the picture (or the animation)
    // in its place.
    for (const QStringList& more : {QStringList(), QStringList{"--duration", "0.1"}}) {
        QProcess closed;
        closed.setChildProcessModifier([] { ::close(STDOUT_FILENO); });
        closed.start(QStringLiteral(ORBALIN_PROGRAM),
                     QStringList{"--render", path("scene.orbalin"), "--output", "-"} + more);
        ASSERT_TRUE(closed.waitForFinished(60000));
        EXPECT_EQ(closed.exitCode(), 1);
        EXPECT_TRUE(closed.readAllStandardError().contains(". Standard output is closed"));
    }
}

TEST_F(CommandLineTest, TheSizeLimitIsTheOneTheHelpStates) {
    const ProgramRun help = runWithoutDisplay({"--help"});
    const QString helpText = help.out.simplified(); // as read, not as wrapped
    EXPECT_TRUE(helpText.contains("each from 1 to 32768 (less when the OpenGL driver draws less"))
        << help.out.toStdString();
    EXPECT_TRUE(helpText.contains("default 640x480)")) << help.out.toStdString();
    // Beyond the program's own limit, and beyond the driver's (Mesa's is smaller): the same
    // mistake in the same words, each with its limit.
    const ProgramRun ours = runWithoutDisplay(
        {"--render", path("scene.orbalin"), "--output", path("p.png"), "--size", "40000"});
    EXPECT_EQ(ours.exitCode, 2);
    EXPECT_TRUE(ours.err.startsWith(
        "orbalin: --size takes WxH or N, each from 1 to 32768 pixels, not “40000”.\n"))
        << ours.err.toStdString();
    const ProgramRun drivers = runWithoutDisplay(
        {"--render", path("scene.orbalin"), "--output", path("p.png"), "--size", "32768x1"});
    if (drivers.exitCode == 0)
        GTEST_SKIP() << "this OpenGL driver draws 32768 pixels";
    EXPECT_EQ(drivers.exitCode, 2);
    static const QRegularExpression driverMistake(
        "^orbalin: --size takes WxH or N, each from 1 to \\d+ pixels with this OpenGL driver, "
        "not “32768x1”\\.\nTry 'orbalin --help' for more information\\.\n$");
    EXPECT_TRUE(driverMistake.match(drivers.err).hasMatch()) << drivers.err.toStdString();
    EXPECT_EQ(files(), (QStringList{"broken.orbalin", "scene.orbalin"}));
}

TEST_F(CommandLineTest, RenderedPictureIsTheViewsOwnFrame) {
    // The same seed picks the same random camera for the picture and for a view made right
    // after seeding, as a window opened on the file would be; both then take the same ticks.
    constexpr std::uint32_t seed = 424242;
    constexpr int ticks = 37;
    const QSize size(320, 240);
    const ProgramRun run = runWithoutDisplay(
        {"--render", path("scene.orbalin"), "--output", path("frame.png"), "--size", "320x240",
         "--ticks", QString::number(ticks), "--seed", QString::number(seed)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage picture(path("frame.png"));
    ASSERT_EQ(picture.size(), size);

    FakeDocument document;
    document.scene = *KeyedUnarchiver::unarchiveObjectWithData(sceneData_);
    seedRandom(seed);
    OrbalinOpenGLView view(QRect(QPoint(0, 0), size));
    const OrbitCamera camera = view.camera();
    view.setOrbalinDocument(&document);
    ASSERT_TRUE(showAndWaitForFirstFrame(view));
    // The view has ticked on its own meanwhile: start again from the camera it was made with.
    view.camera() = camera;
    for (int tick = 0; tick < ticks; ++tick)
        view.animate();
    view.makeCurrent();
    view.reshape();
    view.drawRect();
    const Pixels frame(size.width(), size.height());

    // Both are drawn by Mesa's software rasteriser from the same calls, so they agree to the
    // last bit; a line moved by one pixel anywhere is a different picture.
    int differing = 0;
    int lit = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb p = picture.pixel(x, size.height() - 1 - y);
            const auto f = frame.at(x, y);
            differing += (qRed(p) != f[0] || qGreen(p) != f[1] || qBlue(p) != f[2]) ? 1 : 0;
            lit += frame.lit(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 1000); // the scene is really in the picture
    EXPECT_EQ(differing, 0);
}

TEST_F(CommandLineTest, FullScreenOpensTheWindowsFullScreen) {
    OrbalinApplication::configure();
    OrbalinApplication shell;
    shell.start({path("scene.orbalin"), path("scene.orbalin")}, true);
    ASSERT_EQ(shell.documentController().documents().size(), 1u);
    DocumentWindow* window = shell.documentController().documents().front()->window();
    EXPECT_TRUE(QTest::qWaitFor([window] { return window->isFullScreen(); }, 60000));
}

TEST(CommandLineParse, ReadsWhatALaunchAsksForAndRefusesWhatItCannotDo) {
    using Action = CommandLine::Action;
    const QStringList render = {"--render", "s.orbalin", "--output", "p.png"};
    struct Case {
        QStringList arguments;
        Action action;
        bool fullScreen = false;
        QStringList files = {};
        int ticks = 1; // what a picture is drawn after when none is asked for
        std::optional<std::uint32_t> seed = std::nullopt;
        const char* mistake = nullptr; // named in the message
    };
    const Case cases[] = {
        {{}, Action::Open},
        {{"a.orbalin", "b.orbalin"}, Action::Open, false, {"a.orbalin", "b.orbalin"}},
        {{"--fullscreen"}, Action::Open, true},
        {{"a.orbalin", "--fullscreen"}, Action::Open, true, {"a.orbalin"}},
        {render, Action::Render},
        {render + QStringList{"--ticks", "0"}, Action::Render, false, {}, 0},
        {render + QStringList{"--seed", "0"}, Action::Render, false, {}, 1, 0u},
        {render + QStringList{"--seed", "4294967295"}, Action::Render, false, {}, 1, 4294967295u},
        {render + QStringList{"--seed", "4294967296"}, Action::Mistake, false, {}, 1, {}, "--seed"},
        {render + QStringList{"--seed", "-1"}, Action::Mistake, false, {}, 1, {}, "--seed"},
        {render + QStringList{"--seed", "x"}, Action::Mistake, false, {}, 1, {}, "--seed"},
        {render + QStringList{"--fullscreen"}, Action::Mistake, false, {}, 1, {}, "--fullscreen"},
        {{"--seed", "5"}, Action::Mistake, false, {}, 1, {}, "--seed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const CommandLine command = CommandLine::parse(QStringList{"orbalin"} + c.arguments);
        EXPECT_EQ(command.action, c.action) << command.text.toStdString();
        if (c.action == Action::Mistake) {
            EXPECT_TRUE(command.text.contains(QLatin1String(c.mistake)))
                << command.text.toStdString();
            continue;
        }
        EXPECT_EQ(command.fullScreen, c.fullScreen);
        EXPECT_EQ(command.files, c.files);
        if (c.action == Action::Render) {
            EXPECT_EQ(command.render.ticks, c.ticks);
            EXPECT_EQ(command.render.seed, c.seed);
        }
    }
}
