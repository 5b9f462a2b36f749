#include "ScreensaverWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdlib>
#include <xcb/xcb.h>

namespace {

template <typename Reply> struct Freed {
    Reply* reply;
    ~Freed() { std::free(reply); }
};

} // namespace

std::unique_ptr<ScreensaverWindow> ScreensaverWindow::watch(std::uint32_t id) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return nullptr;
    xcb_connection_t* connection = x11->connection();

    // Event masks are kept per client: adding ours leaves the owner's as they are. Selected
    // before the size is read, so that no change of size falls between the two.
    const Freed<xcb_get_window_attributes_reply_t> attributes{xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, id), nullptr)};
    if (!attributes.reply)
        return nullptr;
    const std::uint32_t mask = attributes.reply->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, id, XCB_CW_EVENT_MASK, &mask);
    const Freed<xcb_get_geometry_reply_t> geometry{
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr)};
    if (!geometry.reply)
        return nullptr;

    std::unique_ptr<ScreensaverWindow> window(
        new ScreensaverWindow(id, QSize(geometry.reply->width, geometry.reply->height)));
    QCoreApplication::instance()->installNativeEventFilter(window.get());
    return window;
}

ScreensaverWindow::ScreensaverWindow(std::uint32_t id, QSize size)
    : id_(id)
    , size_(size) {}

ScreensaverWindow::~ScreensaverWindow() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool ScreensaverWindow::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_CONFIGURE_NOTIFY: {
        const auto* configure = static_cast<const xcb_configure_notify_event_t*>(message);
        const QSize size(configure->width, configure->height);
        if (configure->window == id_ && size != size_) {
            size_ = size;
            emit resized(size);
        }
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (static_cast<const xcb_destroy_notify_event_t*>(message)->window == id_)
            emit gone();
        break;
    default:
        break;
    }
    // Qt sees every event as well.
    return false;
}
