#include "framework/ImageExport.h"

#include "framework/DialogFolders.h"
#include "framework/ErrorBox.h"
#include "framework/HeldDialog.h"
#include "framework/PictureFormats.h"
#include "framework/PictureWriter.h"
#include "framework/SafeFileWriter.h"
#include "framework/SaveDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>

#include <algorithm>
#include <iterator>

namespace {

struct ImageExport {
    Q_DECLARE_TR_FUNCTIONS(ImageExport)
};

const QByteArray preferredFormat = QByteArrayLiteral("png");

struct FormatFilter {
    QByteArray format; // the suffix the dialog adds
    QString filter;
};

// Names that Qt lists twice for one format: the second is folded into the first.
struct Alias {
    const char* format;
    const char* alias;
    const char* title;
};
constexpr Alias aliases[] = {{"jpg", "jpeg", "JPEG"}, {"tif", "tiff", "TIFF"}};

// One dialog filter per format Qt can write, PNG first.
QList<FormatFilter> formatFilters() {
    QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    std::stable_partition(formats.begin(), formats.end(),
                          [](const QByteArray& format) { return format == preferredFormat; });
    QList<FormatFilter> filters;
    for (const QByteArray& format : formats) {
        const auto alias = std::find_if(std::begin(aliases), std::end(aliases),
                                        [&](const Alias& a) { return format == a.alias; });
        if (alias != std::end(aliases) && formats.contains(alias->format))
            continue;
        const auto main = std::find_if(std::begin(aliases), std::end(aliases),
                                       [&](const Alias& a) { return format == a.format; });
        const QString name = QString::fromLatin1(format);
        QString patterns = QStringLiteral("*.") + name;
        QString title = name.toUpper();
        if (main != std::end(aliases)) {
            title = QString::fromLatin1(main->title);
            if (formats.contains(main->alias))
                patterns += QStringLiteral(" *.") + QString::fromLatin1(main->alias);
        }
        filters.append({format, ImageExport::tr("%1 image (%2)").arg(title, patterns)});
    }
    return filters;
}

} // namespace

QString exportImage(QWidget* parent, const std::function<Result<QImage>(bool transparent)>& picture,
                    const QString& suggestedPath) {
    const QList<FormatFilter> filters = formatFilters();
    QStringList names;
    for (const FormatFilter& filter : filters)
        names.append(filter.filter);

    const auto failure = [](const QString& path) {
        return ImageExport::tr("The image “%1” could not be written.")
            .arg(QFileInfo(path).fileName());
    };
    // Why no picture may be written under that name, before anything is.
    const auto check = [](const QString& path) {
        const Result<void> name = checkPictureName(path);
        return name ? checkSaveTarget(path) : name;
    };
    HeldDialog<SaveDialog> dialog(parent, ImageExport::tr("Export Image"), check, failure);
    dialog->setObjectName(QStringLiteral("exportImageDialog"));
    dialog->setNameFilters(names);
    // The dialog itself adds the suffix, so that its overwrite question names the real file.
    dialog->setDefaultSuffix(QString::fromLatin1(preferredFormat));
    QCheckBox* transparent = dialog->addCheckBox(ImageExport::tr("&Transparent background (PNG)"));
    transparent->setObjectName(QStringLiteral("transparentBackground"));
    SaveDialog* const shown = dialog.get();
    QObject::connect(shown, &QFileDialog::filterSelected, shown, [&, shown](const QString& chosen) {
        const qsizetype index = names.indexOf(chosen);
        if (index >= 0)
            shown->setDefaultSuffix(QString::fromLatin1(filters[index].format));
    });
    dialog->setDirectory(QFileInfo(suggestedPath).absolutePath());
    dialog->selectFile(QFileInfo(suggestedPath).fileName());
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();

    const QString path = dialog->selectedFiles().constFirst();
    DialogFolders::remember(path);
    const qsizetype chosenFilter = names.indexOf(dialog->selectedNameFilter());
    const QByteArray fallback = chosenFilter >= 0 ? filters[chosenFilter].format : preferredFormat;
    const QByteArray format = pictureFormatFor(path, fallback);
    const Result<QImage> image = picture(transparent->isChecked() && format == preferredFormat);
    if (!image) {
        showErrorBox(parent, failure(path), image.reason());
        return QString();
    }
    if (const Result<void> written = writeImageFile(*image, path, format); !written) {
        showErrorBox(parent, failure(path), written.reason());
        return QString();
    }
    return path;
}
