#include "AppController.h"

#include "AboutController.h"
#include "model/Random.h"

#include <chrono>

namespace {

// Microseconds since the system started (the monotonic clock counts from boot on Linux).
uint64_t systemMicroseconds() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

AppController::MicrosecondClock currentClock = &systemMicroseconds;

} // namespace

AppController::AppController(QObject* parent)
    : QObject(parent) {}

AppController::~AppController() = default;

void AppController::awakeFromNib() {
    seedFromClock();
}

void AppController::seedFromClock() {
    seedRandom(static_cast<uint32_t>(microseconds()));
}

AboutController* AppController::aboutController() {
    if (!aboutController_) {
        aboutController_ = std::make_unique<AboutController>();
        // Loading the panel wakes its owner once more.
        awakeFromNib();
    }
    return aboutController_.get();
}

void AppController::orderFrontStandardAboutPanel() {
    AboutController* controller = aboutController();
    controller->setupTextView();
    controller->makeFrontAndKeyAboutPanel();
}

uint64_t AppController::microseconds() {
    return currentClock();
}

AppController::MicrosecondClock AppController::setMicrosecondClock(MicrosecondClock clock) {
    const MicrosecondClock previous = currentClock;
    currentClock = clock ? clock : &systemMicroseconds;
    return previous;
}
