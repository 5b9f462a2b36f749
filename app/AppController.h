#pragma once

#include <QObject>

#include <cstdint>
#include <memory>

class AboutController;

// One per application, with two jobs that belong together only by history, kept together
// because the order of random draws depends on it:
// - seeding the random generator from the microsecond clock, when the application starts and
//   once more when the About panel is first loaded (so a run that opens About draws anew);
// - owning the About panel and answering the About command.
class AppController : public QObject {
    Q_OBJECT

  public:
    using MicrosecondClock = uint64_t (*)();

    explicit AppController(QObject* parent = nullptr);
    ~AppController() override;

    // Called once the main interface is loaded (in this program: when the application object is
    // made, and when the first About command loads the panel); seeds the generator.
    void awakeFromNib();
    // Seeds the generator with the low 32 bits of the microsecond clock, as every mode of the
    // program does as it starts.
    static void seedFromClock();
    // Loads the About panel on first use.
    AboutController* aboutController();
    // The About command (Help ▸ About): shows the About panel in front of the other windows.
    void orderFrontStandardAboutPanel();

    // Microseconds since the system started.
    static uint64_t microseconds();
    // Test seam: replaces the clock; nullptr restores the real one. Returns the previous clock.
    static MicrosecondClock setMicrosecondClock(MicrosecondClock clock);

  private:
    std::unique_ptr<AboutController> aboutController_;
};
