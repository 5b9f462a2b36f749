#pragma once

#include <QObject>
#include <QString>

class QDialog;
class QTextEdit;

// Owns the About panel, made from the "About" window description, and fills its text view
// with the credits once.
class AboutController : public QObject {
    Q_OBJECT

  public:
    // The credits: the resource "Credits" of type "rtf", or its translation into the user's
    // language ("Credits_de") where there is one.
    static QString creditsResource();

    explicit AboutController(QString creditsPath = creditsResource(), QObject* parent = nullptr);
    ~AboutController() override;

    AboutController(const AboutController&) = delete;
    AboutController& operator=(const AboutController&) = delete;

    // Inserts the credits at the text view's insertion point, then makes the view read-only and
    // scrolls to the top. Runs once: later calls leave the text (and where the user scrolled)
    // alone. Credits that are missing or unreadable leave the view empty.
    void setupTextView();
    void makeFrontAndKeyAboutPanel();

    QDialog* aboutPanel() const { return aboutPanel_; }
    QTextEdit* aboutTextView() const { return aboutTextView_; }
    bool textInited() const { return textInited_; }

  private:
    QString creditsPath_;
    QDialog* aboutPanel_;
    QTextEdit* aboutTextView_;
    bool textInited_ = false;
};
