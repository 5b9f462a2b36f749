#include "CommandLine.h"

#include "OrbalinApplication.h"
#include "framework/ErrorBox.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

namespace {

// An option as it was typed: QCommandLineParser names them without their dashes.
QString typedOption(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

} // namespace

QString CommandLine::mistakeText(const QString& mistake) {
    const QString name = QCoreApplication::applicationName();
    return QStringLiteral("%1: %2\n").arg(name, mistake) +
           CommandLine::tr("Try '%1 --help' for more information.\n").arg(name);
}

QString CommandLine::sizeMistake(const QString& size, int largest, bool driversLimit) {
    return (driversLimit
                ? CommandLine::tr(
                      "--size takes WxH or N, each from 1 to %1 pixels with this OpenGL "
                      "driver, not “%2”.")
                : CommandLine::tr("--size takes WxH or N, each from 1 to %1 pixels, not “%2”."))
        .arg(largest)
        .arg(size);
}

CommandLine CommandLine::parse(const QStringList& arguments) {
    const QString description = CommandLine::tr(
        "Shows animated scenes of coloured line segments, each scene in a window of\n"
        "its own; with no FILE, a new random scene.\n\n"
        "With --render, draws one frame of SCENE into a picture instead, or with\n"
        "--duration records it as an animation, with no display server at all\n"
        "(neither X11 nor Wayland):\n"
        "  orbalin --render SCENE --output PICTURE [--format FORMAT] [--size WxH]\n"
        "          [--ticks N] [--seed N] [--background transparent]\n"
        "  orbalin --render SCENE --output ANIMATION --duration SECONDS [--fps N]\n"
        "          [--format FORMAT] [--size WxH] [--ticks N] [--seed N]\n"
        "          [--background transparent]");
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  CommandLine::tr("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     CommandLine::tr("Shows the version and exits."));
    const QCommandLineOption fullScreen(QStringLiteral("fullscreen"),
                                        CommandLine::tr("Opens the windows full screen."));
    // --fps is the recording's frame rate beside --render, and the screen saver's otherwise.
    const bool rendering = std::any_of(arguments.begin(), arguments.end(), [](const QString& word) {
        return word == QStringLiteral("--render") || word == QStringLiteral("-render") ||
               word.startsWith(QStringLiteral("--render=")) ||
               word.startsWith(QStringLiteral("-render="));
    });
    RenderOptions render(rendering);
    const ScreensaverOptions screensaver(!rendering);
    const auto setUp = [&](QCommandLineParser& parser) {
        parser.setApplicationDescription(description);
        parser.addOptions({help, version, fullScreen});
        render.addTo(parser);
        // The screen-saver daemon's conventions: -root as well as --root.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        screensaver.addTo(parser);
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     CommandLine::tr("Scene files to open."),
                                     QStringLiteral("[FILE…]"));
    };
    QCommandLineParser parser;
    setUp(parser);

    CommandLine command;
    const auto mistake = [&](const QString& text) {
        command.action = Action::Mistake;
        command.text = mistakeText(text);
        return command;
    };
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty())
            return mistake(CommandLine::tr("unknown option '%1'")
                               .arg(typedOption(parser.unknownOptionNames().constFirst())));
        // Qt's own words, in the form of the other mistakes' lines.
        QString text = parser.errorText();
        if (text.endsWith(u'.'))
            text.chop(1);
        if (!text.isEmpty())
            text[0] = text[0].toLower();
        return mistake(text);
    }
    if (parser.isSet(help)) {
        command.action = Action::Print;
        render.describeFormats();
        QCommandLineParser described;
        setUp(described);
        // The usage line names the program, not the path it was started by.
        command.text = described.helpText();
        if (!arguments.isEmpty()) {
            const qsizetype lineEnd = command.text.indexOf(u'\n');
            const qsizetype at = command.text.lastIndexOf(arguments.constFirst(), lineEnd);
            if (at >= 0)
                command.text.replace(at, arguments.constFirst().size(),
                                     QCoreApplication::applicationName());
        }
        return command;
    }
    if (parser.isSet(version)) {
        command.action = Action::Print;
        command.text = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                     QCoreApplication::applicationVersion());
        return command;
    }

    if (screensaver.anySet(parser)) {
        const QCommandLineOption* other = render.firstSetBesidesRender(parser);
        if (parser.isSet(render.render()))
            other = &render.render();
        else if (parser.isSet(fullScreen))
            other = &fullScreen;
        if (other)
            return mistake(CommandLine::tr("--%1 does not go with the screen-saver options.")
                               .arg(other->names().constFirst()));
        if (const Result<void> read = screensaver.read(parser, command.screensaver); !read)
            return mistake(asSentence(read.reason()));
        command.action = Action::Screensaver;
        return command;
    }

    if (!parser.isSet(render.render())) {
        if (const QCommandLineOption* other = render.firstSetBesidesRender(parser))
            return mistake(
                CommandLine::tr("--%1 goes with --render.").arg(other->names().constFirst()));
        command.fullScreen = parser.isSet(fullScreen);
        command.files = parser.positionalArguments();
        return command;
    }

    command.action = Action::Render;
    if (!parser.positionalArguments().isEmpty())
        return mistake(
            CommandLine::tr("--render draws one scene, named right after it; “%1” is one too many.")
                .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(fullScreen))
        return mistake(
            CommandLine::tr("--render opens no window, so --fullscreen does not go with it."));
    if (const Result<void> read = render.read(parser, command.render); !read)
        return mistake(read.reason());
    return command;
}

CommandLine CommandLine::read(int argc, char** argv) {
    QCoreApplication reader(argc, argv);
    OrbalinApplication::identify();
    return parse(QCoreApplication::arguments());
}
