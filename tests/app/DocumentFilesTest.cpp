// End-to-end tests of documents and their files: opening, saving, Save As, what is refused
// and why, titles, and large scenes read and written while the other windows go on.
#include "ApplicationTestSupport.h"

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
