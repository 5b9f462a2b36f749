// End-to-end tests of the scene as a picture: Export Image, Copy, and image files.
#include "ApplicationTestSupport.h"
#include "app/AnimationExport.h"
#include "support/Gate.h"

#include <QDoubleSpinBox>

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
                              const char* format, bool transparent = false) {
        answerer.filesToChoose = {path(typed)};
        answerer.filterToChoose = filter;
        answerer.transparent = transparent;
        action(document, "actionExportImage")->trigger();
        EXPECT_EQ(QImageReader(path(written)).format(), format);
        return QImage(path(written));
    };
    const std::pair<const char*, std::function<QImage()>> takers[] = {
        {"Export Image", [&] { return exportAs("frame", "", "frame.png", "png"); }},
        {"Export Image, BMP chosen in the dialog",
         [&] { return exportAs("chosen", "BMP image", "chosen.bmp", "bmp"); }},
        {"Export Image on a transparent background",
         [&] {
             const QImage picture = exportAs("clear", "", "clear.png", "png", true);
             EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << "the corner shows nothing";
             return picture;
         }},
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

// Export Animation… records the scene as the window shows it, turned and zoomed, in the file
// and length asked for, while the window goes on animating.
TEST_F(ApplicationTest, ExportAnimationRecordsTheSceneAsTheWindowShowsIt) {
    shell_->start({});
    Document* document = controller().documents().front();
    ASSERT_TRUE(drawn(scene(document)));
    OrbalinOpenGLView* view = scene(document)->orbalinOpenGLView();
    const double before = view->camera().xangle; // the camera is in place after a tick
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->camera().xangle != before; }, 60000));
    view->zoomIn();
    QTest::keyClick(view, Qt::Key_Left);
    Gate turned;
    const WorkHeld held([&](BackgroundTask&) { turned.wait(std::chrono::seconds(60)); });
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<AnimationExportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("file")->setText(path("clip.gif"));
        dialog->findChild<QDoubleSpinBox*>("length")->setValue(0.5);
        dialog->accept();
        // The recording is under way: the window turns on meanwhile.
        for (int tick = 0; tick < 3; ++tick) {
            const double from = view->camera().xangle;
            ASSERT_TRUE(QTest::qWaitFor([&] { return view->camera().xangle != from; }, 60000));
        }
        turned.open();
    });
    const QImage shown = view->grabFrame().convertToFormat(QImage::Format_RGB32);
    action(document, "actionExportAnimation")->trigger();

    QImageReader clip(path("clip.gif"));
    EXPECT_EQ(clip.size(), shown.size());
    EXPECT_EQ(clip.imageCount(), 16) << "0.5 s at 31.25 frames a second";
    // The first frame is the one on show: the same pixels lit (the background stays black in
    // the clip's palette).
    const QImage first = clip.read().convertToFormat(QImage::Format_RGB32);
    int lit = 0, differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            lit += qGray(shown.pixel(x, y)) > 0;
            differing += (qGray(first.pixel(x, y)) > 0) != (qGray(shown.pixel(x, y)) > 0);
        }
    EXPECT_GT(lit, 100);
    EXPECT_LT(differing, lit / 20);
}
