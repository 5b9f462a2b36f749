#include "CommandLine.h"

#include "OrbalinApplication.h"
#include "framework/ErrorBox.h"
#include "framework/PictureFormats.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

namespace {

// About eighteen days of animation: still drawn within seconds.
constexpr int mostTicks = 100'000'000;

// "WxH", or "N" for a square.
std::optional<QSize> sizeFrom(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})(?:[x×X](\\d{1,5}))?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).isEmpty() ? width : match.captured(2).toInt();
    if (width < 1 || height < 1 || width > CommandLine::largestSizeSide ||
        height > CommandLine::largestSizeSide)
        return std::nullopt;
    return QSize(width, height);
}

// An option as it was typed: QCommandLineParser names them without their dashes.
QString typedOption(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// One name for the formats that have two ("jpg" and "jpeg").
QByteArray canonicalFormat(const QByteArray& format) {
    if (format == "jpeg")
        return QByteArrayLiteral("jpg");
    if (format == "tiff")
        return QByteArrayLiteral("tif");
    return format;
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
        "With --render, draws one frame of SCENE into a picture instead, with no\n"
        "display server at all (neither X11 nor Wayland):\n"
        "  orbalin --render SCENE --output PICTURE [--format FORMAT] [--size WxH]\n"
        "          [--ticks N] [--seed N]");
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  CommandLine::tr("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     CommandLine::tr("Shows the version and exits."));
    const QCommandLineOption fullScreen(QStringLiteral("fullscreen"),
                                        CommandLine::tr("Opens the windows full screen."));
    const QCommandLineOption render(
        QStringLiteral("render"),
        CommandLine::tr("Draws one frame of SCENE into PICTURE and exits."),
        QStringLiteral("SCENE"));
    QCommandLineOption output(QStringLiteral("output"), QString(), QStringLiteral("PICTURE"));
    QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"));
    // The formats come from the image plugins, which take a while to load: only the help and
    // --render ask for them, so that a window's start-up does not wait for them.
    const auto formats = [] { return QString::fromLatin1(writablePictureFormats().join(", ")); };
    const auto describeFormats = [&] {
        output.setDescription(
            CommandLine::tr(
                "The picture to write (with --render), or - for standard output. Its suffix "
                "names the format (%1); a name without a suffix, and -, get --format's, or PNG.")
                .arg(formats()));
        format.setDescription(
            CommandLine::tr(
                "The picture's format (one of %1) for --output - or a name without a suffix; a "
                "name's suffix must agree with it.")
                .arg(formats()));
    };
    const QCommandLineOption size(
        QStringLiteral("size"),
        CommandLine::tr(
            "The picture's size in pixels, as WxH, or N for N×N, each from 1 to %1 (less when "
            "the OpenGL driver draws less; default 640x480).")
            .arg(largestSizeSide),
        QStringLiteral("WxH"));
    const QCommandLineOption ticks(
        QStringLiteral("ticks"),
        CommandLine::tr(
            "Draws the frame after N ticks of the animation, 16 ms each (default 1). A window's "
            "very first frame comes before any tick, when its camera is not in place yet and "
            "shows nothing; 0 draws that frame."),
        QStringLiteral("N"));
    const QCommandLineOption seed(
        QStringLiteral("seed"),
        CommandLine::tr(
            "Picks the random camera with seed N (0 to 4294967295) instead of the clock: the "
            "same scene, seed, ticks and size always give the same picture."),
        QStringLiteral("N"));
    const ScreensaverOptions screensaver;
    const auto setUp = [&](QCommandLineParser& parser) {
        parser.setApplicationDescription(description);
        parser.addOptions({help, version, fullScreen, render, output, format, size, ticks, seed});
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
        describeFormats();
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
        for (const QCommandLineOption* option : std::initializer_list<const QCommandLineOption*>{
                 &render, &fullScreen, &output, &format, &size, &ticks, &seed}) {
            if (parser.isSet(*option))
                return mistake(CommandLine::tr("--%1 does not go with the screen-saver options.")
                                   .arg(option->names().constFirst()));
        }
        if (const Result<void> read = screensaver.read(parser, command.screensaver); !read)
            return mistake(asSentence(read.reason()));
        command.action = Action::Screensaver;
        return command;
    }

    if (!parser.isSet(render)) {
        for (const QCommandLineOption* option : std::initializer_list<const QCommandLineOption*>{
                 &output, &format, &size, &ticks, &seed}) {
            if (parser.isSet(*option))
                return mistake(
                    CommandLine::tr("--%1 goes with --render.").arg(option->names().constFirst()));
        }
        command.fullScreen = parser.isSet(fullScreen);
        command.files = parser.positionalArguments();
        return command;
    }

    command.action = Action::Render;
    RenderRequest& request = command.render;
    request.scene = parser.value(render);
    if (!parser.positionalArguments().isEmpty())
        return mistake(
            CommandLine::tr("--render draws one scene, named right after it; “%1” is one too many.")
                .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(fullScreen))
        return mistake(
            CommandLine::tr("--render opens no window, so --fullscreen does not go with it."));
    if (!parser.isSet(output))
        return mistake(CommandLine::tr("--render needs --output PICTURE, the picture to write."));
    request.output = parser.value(output);
    // The format: the name's suffix, else --format, else PNG; the two must agree.
    QByteArray given = QByteArrayLiteral("png");
    if (parser.isSet(format)) {
        given = parser.value(format).toLower().toLatin1();
        if (!writablePictureFormats().contains(given))
            return mistake(CommandLine::tr("--format takes one of %1, not “%2”.")
                               .arg(formats(), parser.value(format)));
    }
    if (request.output == QStringLiteral("-")) {
        request.format = given;
    } else {
        if (const QString refusal = pictureNameRefusal(request.output); !refusal.isEmpty())
            return mistake(asSentence(refusal));
        request.format = pictureFormatFor(request.output, given);
        if (parser.isSet(format) && canonicalFormat(request.format) != canonicalFormat(given))
            return mistake(CommandLine::tr("“%1” names another format than --format %2.")
                               .arg(request.output, parser.value(format)));
    }
    if (parser.isSet(size)) {
        const std::optional<QSize> value = sizeFrom(parser.value(size));
        if (!value)
            return mistake(sizeMistake(parser.value(size), largestSizeSide, false));
        request.size = *value;
    }
    if (parser.isSet(ticks)) {
        bool ok = false;
        request.ticks = parser.value(ticks).toInt(&ok);
        if (!ok || request.ticks < 0 || request.ticks > mostTicks)
            return mistake(CommandLine::tr("--ticks takes a whole number from 0 to %1, not “%2”.")
                               .arg(mostTicks)
                               .arg(parser.value(ticks)));
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        request.seed = parser.value(seed).toUInt(&ok);
        if (!ok)
            return mistake(
                CommandLine::tr("--seed takes a whole number from 0 to 4294967295, not “%1”.")
                    .arg(parser.value(seed)));
    }
    return command;
}

CommandLine CommandLine::read(int argc, char** argv) {
    QCoreApplication reader(argc, argv);
    OrbalinApplication::identify();
    return parse(QCoreApplication::arguments());
}
