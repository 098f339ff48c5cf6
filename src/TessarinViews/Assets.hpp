#pragma once

#include "Localization/Language.hpp"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringView>

#include <optional>

// The images compiled into the application besides the symbols: the logo and the help's
// screenshots, which exist per language as "<folder>/<name>-<language>.png".
namespace tessarin::Assets {

// Where the application's own screenshots live among its resources.
[[nodiscard]] QString helpScreenshotFolder();

// The file of a screenshot: the language's own, else the English one; none when neither exists,
// or when the name could reach outside the folder.
[[nodiscard]] std::optional<QString> helpScreenshotPath(QStringView name, Language language,
                                                        const QString& folder = helpScreenshotFolder());

// The screenshot's image as helpScreenshotPath finds it; a null image when there is none or it
// does not decode.
[[nodiscard]] QImage helpScreenshot(QStringView name, Language language,
                                    const QString& folder = helpScreenshotFolder());

// The application logo drawn in one colour (it is a line drawing, so it reads on any
// background in the palette's text colour), width points square.
[[nodiscard]] QPixmap logo(int width, const QColor& tint, qreal devicePixelRatio = 1.0);

}  // namespace tessarin::Assets
