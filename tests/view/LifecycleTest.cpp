#include "ViewTestSupport.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A view that keeps count of the views alive, so that a test can see every one of them go. A
// tick that reached a destroyed view would be a use after free: AddressSanitizer (the
// sanitizer stage runs these suites) is what catches that, not a count kept by the view.
class WatchedView : public RecordingView {
  public:
    WatchedView()
        : RecordingView(QRect(0, 0, 160, 120)) {
        ++alive();
    }
    ~WatchedView() override { --alive(); }

    static int& alive() {
        static int count = 0;
        return count;
    }
};

// Runs the event loop until `view` has ticked `more` times again: any timer left behind by a
// view destroyed meanwhile has had as many chances to fire.
bool ticksAgain(const RecordingView& view, int more = 3) {
    const int until = view.ticks + more;
    return processEventsUntil([&] { return view.ticks >= until; });
}

} // namespace

TEST(ViewLifecycle, ManyViewsMadeShownAnimatedAndDestroyedNeverTickWhenGone) {
    constexpr int rounds = 4;
    constexpr int perRound = 6;
    std::vector<std::unique_ptr<WatchedView>> survivors;

    for (int round = 0; round < rounds; ++round) {
        std::vector<std::unique_ptr<WatchedView>> views;
        for (int i = 0; i < perRound; ++i) {
            views.push_back(std::make_unique<WatchedView>());
            views.back()->setPosition(40 * i, 30 * round);
            views.back()->show();
        }
        // One goes before it ever drew.
        views[0].reset();
        ASSERT_TRUE(processEventsUntil([&] {
            for (std::size_t i = 1; i < views.size(); ++i)
                if (views[i]->ticks < 3)
                    return false;
            return true;
        })) << "the shown views did not start ticking";

        // One is hidden, then destroyed; one is destroyed from the event loop between ticks
        // while the others keep ticking; one is kept for the next rounds.
        views[1]->hide();
        ASSERT_TRUE(ticksAgain(*views[3]));
        views[1].reset();
        views[2].release()->deleteLater();
        survivors.push_back(std::move(views[3]));
        ASSERT_TRUE(ticksAgain(*survivors.back()));
        views.clear();
        ASSERT_TRUE(ticksAgain(*survivors.back()));
        EXPECT_EQ(WatchedView::alive(), static_cast<int>(survivors.size()));
    }

    // The survivors kept ticking all along, through the others' ends.
    for (const auto& view : survivors)
        EXPECT_GT(view->ticks, 5);
    survivors.clear();
    EXPECT_EQ(WatchedView::alive(), 0);
    // A view of the next window goes on ticking, and nothing else does.
    WatchedView next;
    next.show();
    ASSERT_TRUE(ticksAgain(next));
    EXPECT_EQ(WatchedView::alive(), 1);
}

TEST(ViewLifecycle, ViewHostedInAWidgetGoesWithItsContainer) {
    FakeDocument document;
    auto* view = new WatchedView;
    view->setOrbalinDocument(&document);
    auto host = std::make_unique<QWidget>();
    QWidget* container = QWidget::createWindowContainer(view, host.get());
    container->setGeometry(0, 0, 200, 150);
    host->resize(200, 150);
    host->show();
    ASSERT_TRUE(processEventsUntil([&] { return view->ticks >= 3; }));
    EXPECT_NE(document.scene, nullptr);

    host.reset(); // takes the container and its window with it
    EXPECT_EQ(WatchedView::alive(), 0);
    WatchedView next;
    next.show();
    ASSERT_TRUE(ticksAgain(next));
}
