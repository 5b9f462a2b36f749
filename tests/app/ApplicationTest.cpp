// End-to-end tests of the application as a whole: starting, new windows, the bus and drags,
// the About panel, closing and quitting, full screen and the scene's keys.
#include "ApplicationTestSupport.h"

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

namespace {

uint64_t clockReadings = 0;
uint64_t fakeClock() {
    ++clockReadings;
    return 0xABCD'0000'1234'5678ull;
}

} // namespace

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

TEST_F(ApplicationTest, TheKeysReachTheSceneAndPauseZoomAndResetIt) {
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
                                    "&Export Image…", "Export Ani&mation…"}));

    QAction* reset = action(document, "actionResetView");
    ASSERT_NE(reset, nullptr);
    EXPECT_TRUE(document->window()->findChild<QMenu*>("menuView")->actions().contains(reset));
    EXPECT_EQ(reset->shortcut(), QKeySequence(Qt::Key_Home)); // the one the menu shows
    // zoomed by                          in (>1) or out (<1), then given back by
    const std::tuple<QKeySequence, bool, QKeySequence> zooms[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), true, QKeySequence(Qt::CTRL | Qt::Key_0)},
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), true, QKeySequence(Qt::Key_Home)},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), false, QKeySequence(Qt::Key_R)}};
    for (const auto& [key, in, back] : zooms) {
        SCOPED_TRACE(key.toString().toStdString());
        press(document, key);
        EXPECT_EQ(view->userView().zoom() > 1.0, in);
        EXPECT_FALSE(view->userView().followsCamera(view->sceneTime())) << "the orbit is held";
        press(document, back);
        EXPECT_TRUE(view->userView().isIdentity());
        EXPECT_TRUE(view->userView().followsCamera(view->sceneTime()));
    }

    // Space pauses and resumes the scene where it stopped.
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
