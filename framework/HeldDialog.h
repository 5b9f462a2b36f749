#pragma once

#include <QDialog>
#include <QPointer>

#include <utility>

// A modal dialog with a parent window, run by its caller. The parent owns it, and may be
// deleted while exec() runs (a quit or a closed window, from the bus or another event loop),
// taking the dialog with it: so it lives on the heap, not on the caller's stack, and the caller
// only watches it. exec() then answers QDialog::Rejected. Whatever is left is deleted when the
// holder goes.
template <class Dialog> class HeldDialog {
  public:
    template <class... Args>
    explicit HeldDialog(Args&&... args)
        : dialog_(new Dialog(std::forward<Args>(args)...)) {}
    ~HeldDialog() { delete dialog_.data(); }
    HeldDialog(const HeldDialog&) = delete;
    HeldDialog& operator=(const HeldDialog&) = delete;

    Dialog* get() const { return dialog_.data(); }
    Dialog* operator->() const { return dialog_.data(); }

  private:
    QPointer<Dialog> dialog_;
};
