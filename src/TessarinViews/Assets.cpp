#include "TessarinViews/Assets.hpp"

#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/Icons.hpp"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace tessarin::Assets {

namespace {

// Names come from the help content, never from a person, but a name that could climb out of
// the folder must not reach the file system all the same.
bool isPlainName(QStringView name) {
    if (name.isEmpty()) {
        return false;
    }
    for (const QChar c : name) {
        if (!(c.isLetterOrNumber() || c == u'-' || c == u'_')) {
            return false;
        }
    }
    return true;
}

QString fileIn(const QString& folder, QStringView name, Language language) {
    return folder + u'/' + name + u'-' + qtText(rawValue(language)) + QStringLiteral(".png");
}

}  // namespace

QString helpScreenshotFolder() {
    // The resources are registered together with the symbols'.
    Q_UNUSED(Icons::logoPath());
    return QStringLiteral(":/HelpScreenshots");
}

std::optional<QString> helpScreenshotPath(QStringView name, Language language, const QString& folder) {
    if (!isPlainName(name)) {
        return std::nullopt;
    }
    for (const Language candidate : {language, Language::en}) {
        const QString path = fileIn(folder, name, candidate);
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return std::nullopt;
}

QImage helpScreenshot(QStringView name, Language language, const QString& folder) {
    const std::optional<QString> path = helpScreenshotPath(name, language, folder);
    return path ? QImage(*path) : QImage();
}

QPixmap logo(int width, const QColor& tint, qreal devicePixelRatio) {
    const int pixels = qRound(width * devicePixelRatio);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QSvgRenderer renderer(Icons::logoPath());
        renderer.render(&painter, QRectF(0, 0, pixels, pixels));
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), tint);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

}  // namespace tessarin::Assets
