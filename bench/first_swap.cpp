// Preloaded into a program (LD_PRELOAD) to time its start and weigh its memory from outside:
// at the FIRST_SWAP_COUNT-th buffer swap (GLX or EGL; default the first) it writes the
// monotonic clock in nanoseconds, the peak and the current resident memory in kB, to the file
// named in FIRST_SWAP_FILE, and ends the process.
#include <EGL/egl.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

long statusKilobytes(const char* status, const char* field) {
    const char* at = std::strstr(status, field);
    return at ? std::strtol(at + std::strlen(field), nullptr, 10) : -1;
}

void swapped() {
    static long count = 0;
    const char* wanted = std::getenv("FIRST_SWAP_COUNT");
    if (++count < (wanted ? std::strtol(wanted, nullptr, 10) : 1))
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char status[8192] = {};
    if (const int fd = open("/proc/self/status", O_RDONLY); fd >= 0) {
        (void)!read(fd, status, sizeof status - 1);
        close(fd);
    }
    if (const char* path = std::getenv("FIRST_SWAP_FILE")) {
        char line[128];
        const int n =
            std::snprintf(line, sizeof line, "%lld %ld %ld\n",
                          static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                          statusKilobytes(status, "VmHWM:"), statusKilobytes(status, "VmRSS:"));
        if (const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644); fd >= 0) {
            (void)!write(fd, line, static_cast<size_t>(n));
            close(fd);
        }
    }
    _exit(0);
}

} // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    using Swap = void (*)(Display*, GLXDrawable);
    static const auto next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    next(display, drawable);
    swapped();
}

extern "C" EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface) {
    using Swap = EGLBoolean (*)(EGLDisplay, EGLSurface);
    static const auto next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "eglSwapBuffers"));
    const EGLBoolean done = next(display, surface);
    swapped();
    return done;
}
