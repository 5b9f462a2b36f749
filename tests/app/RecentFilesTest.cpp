// End-to-end tests of what the application remembers of files: the recent files, and the
// folders its dialogs start in.
#include "ApplicationTestSupport.h"

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
