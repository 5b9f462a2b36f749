#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QSize>

#include <cstdint>
#include <memory>

// Another program's X11 window that the screen saver draws into: it watches the window's size
// and its end, which Qt does not follow for a window it did not make. Needs the xcb platform.
class ScreensaverWindow : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

  public:
    // Starts watching; null when the window does not exist.
    static std::unique_ptr<ScreensaverWindow> watch(std::uint32_t id);
    ~ScreensaverWindow() override;

    std::uint32_t id() const { return id_; }
    // In device pixels.
    QSize size() const { return size_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  signals:
    void resized(QSize size);
    void gone();

  private:
    ScreensaverWindow(std::uint32_t id, QSize size);

    std::uint32_t id_;
    QSize size_;
};
