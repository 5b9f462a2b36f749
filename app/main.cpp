#include "OrbalinApplication.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    OrbalinApplication::configure(application);
    OrbalinApplication orbalin;
    // Every argument is a file to open: there are no options.
    orbalin.start(QApplication::arguments().mid(1));
    // Nothing opened (every file named failed and was reported): nothing to run.
    if (orbalin.documentController().documents().empty())
        return 1;
    return application.exec();
}
