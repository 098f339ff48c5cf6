#include "TessarinViews/PointPresentation.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"

#include <QDateTime>
#include <QLocale>

#include <cmath>

namespace tessarin::PointPresentation {

namespace {

const QString noValue = QStringLiteral("—");

// The locale's own time style with seconds, without the zone: the date is implied, since
// the table shows what happened moments ago.
QString localTime(std::chrono::system_clock::time_point time) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch());
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms.count());
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(local.time(), format.trimmed());
}

}  // namespace

StatusLook status(const PointStatus* status, bool polling) {
    if (status == nullptr) {
        return {QStringLiteral("circle.dashed"), Tone::secondary,
                polling ? qtText(L10n::Table::waiting()) : noValue};
    }
    if (!status->failure) {
        const auto ms = static_cast<std::int64_t>(std::llround(status->duration * 1000.0));
        return {QStringLiteral("checkmark.circle.fill"), Tone::green, qtText(L10n::Table::ok(ms))};
    }
    const bool exception = status->failure->kind == PollFailure::Kind::exception;
    return {QStringLiteral("exclamationmark.triangle.fill"), exception ? Tone::orange : Tone::red,
            qtText(L10n::Log::shortFailure(*status->failure))};
}

ValueLook liveValue(const Datapoint& point, const PointStatus* status) {
    if (status == nullptr || !status->value) {
        return {noValue, Tone::tertiary};
    }
    QString text = qtText(point.formatted(*status->value));
    if (!point.engineeringUnit.empty()) {
        text += QLatin1Char(' ') + qtText(point.engineeringUnit);
    }
    return {text, status->failure ? Tone::secondary : Tone::primary};
}

QString rawTooltip(const PointStatus* status) {
    if (status == nullptr || status->raw.empty()) {
        return {};
    }
    return qtText(L10n::Table::rawHelp(status->raw.words()));
}

QString updatedTooltip(const PointStatus* status) {
    if (status == nullptr || !status->updated) {
        return {};
    }
    return qtText(L10n::Table::updatedHelp(utf8Text(localTime(*status->updated))));
}

}  // namespace tessarin::PointPresentation
