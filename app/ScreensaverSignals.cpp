#include "ScreensaverSignals.h"

#include "base/BackgroundTask.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

// How long the event loop has to end the process cleanly after a signal.
constexpr long graceNanoseconds = 100'000'000;

int pipeEnds[2] = {-1, -1};
timer_t deadline;
std::atomic<bool> signalled{false};
std::atomic<BackgroundTask*> cancellable{nullptr};

static_assert(std::atomic<bool>::is_always_lock_free &&
                  std::atomic<BackgroundTask*>::is_always_lock_free,
              "used in a signal handler");

void onSignal(int) {
    const int saved = errno;
    signalled = true;
    if (BackgroundTask* task = cancellable.load())
        task->cancel();
    const char byte = 1;
    // A full pipe already holds a request; nothing more to say.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    const itimerspec once = {{0, 0}, {0, graceNanoseconds}};
    ::timer_settime(deadline, 0, &once, nullptr);
    errno = saved;
}

void onDeadline(int) {
    ::_exit(0);
}

bool handle(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(signal, &action, nullptr) == 0;
}

void setMask(int how) {
    sigset_t termination;
    sigemptyset(&termination);
    sigaddset(&termination, SIGTERM);
    sigaddset(&termination, SIGINT);
    ::pthread_sigmask(how, &termination, nullptr);
}

} // namespace

void ScreensaverSignals::hold() {
    setMask(SIG_BLOCK);
}

void ScreensaverSignals::release() {
    setMask(SIG_UNBLOCK);
}

bool ScreensaverSignals::install() {
    if (pipeEnds[0] >= 0)
        return true;
    sigevent expiry = {};
    expiry.sigev_notify = SIGEV_SIGNAL;
    expiry.sigev_signo = SIGALRM;
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0 ||
        ::timer_create(CLOCK_MONOTONIC, &expiry, &deadline) != 0)
        return false;
    return handle(SIGALRM, onDeadline) && handle(SIGTERM, onSignal) && handle(SIGINT, onSignal);
}

bool ScreensaverSignals::received() {
    return signalled.load();
}

void ScreensaverSignals::setCancellable(BackgroundTask* task) {
    cancellable = task;
    if (task && signalled.load())
        task->cancel();
}

ScreensaverSignals::ScreensaverSignals(QObject* parent)
    : QObject(parent)
    , notifier_(std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read)) {
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
        }
        emit terminationRequested();
    });
}

ScreensaverSignals::~ScreensaverSignals() = default;
