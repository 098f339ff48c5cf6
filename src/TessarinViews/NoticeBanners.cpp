#include "TessarinViews/NoticeBanners.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/NoticeBanner.hpp"
#include "TessarinViews/Tone.hpp"

#include <QEvent>

#include <array>

namespace tessarin {

NoticeBanners::NoticeBanners(PollerModel& model, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_connection(
          new NoticeBanner(QStringLiteral("network.slash"), toneColor(Tone::red, palette()), false, this)),
      m_noResponse(new NoticeBanner(QStringLiteral("exclamationmark.triangle.fill"),
                                    toneColor(Tone::orange, palette()), true, this)),
      m_writeError(new NoticeBanner(QStringLiteral("exclamationmark.triangle.fill"),
                                    toneColor(Tone::orange, palette()), true, this)) {
    setAttribute(Qt::WA_NoSystemBackground);
    m_noResponse->setText(qtText(L10n::Notice::noResponse()));
    connect(m_noResponse, &NoticeBanner::dismissed, &m_model, &PollerModel::dismissNoResponseHint);
    connect(m_writeError, &NoticeBanner::dismissed, this, [this] { m_model.setWriteError(std::nullopt); });
    connect(&m_model, &PollerModel::connectionProblemChanged, this, &NoticeBanners::sync);
    connect(&m_model, &PollerModel::showNoResponseHintChanged, this, &NoticeBanners::sync);
    connect(&m_model, &PollerModel::writeErrorChanged, this, &NoticeBanners::sync);
    for (NoticeBanner* banner : {m_connection, m_noResponse, m_writeError}) {
        connect(banner, &NoticeBanner::fadeFinished, this, &NoticeBanners::place);
    }
    parent->installEventFilter(this);
    sync();
}

void NoticeBanners::sync() {
    const auto& problem = m_model.connectionProblem();
    if (problem) m_connection->setText(qtText(L10n::Notice::connectionProblem(utf8Text(*problem))));
    m_connection->setShown(problem.has_value());
    m_noResponse->setShown(m_model.showNoResponseHint());
    const auto& writeError = m_model.writeError();
    if (writeError) m_writeError->setText(*writeError);
    m_writeError->setShown(writeError.has_value());
    place();
}

// Bottom-up: the write error at the foot, then the no-response hint, the connection problem on
// top. A banner that fades out keeps its place until it is gone.
void NoticeBanners::place() {
    QWidget* host = parentWidget();
    const int room = std::max(0, host->width() - 2 * padding);
    int bottom = host->height() - padding;
    int covered = 0;
    int left = host->width();
    const std::array<NoticeBanner*, 3> stack{m_writeError, m_noResponse, m_connection};
    std::vector<std::pair<NoticeBanner*, QRect>> placed;
    for (NoticeBanner* banner : stack) {
        if (!banner->shown() && banner->isHidden()) continue;
        const QSize size = banner->sizeWithin(room);
        const QRect at(host->width() - padding - size.width(), bottom - size.height(), size.width(), size.height());
        placed.emplace_back(banner, at);
        bottom = at.top() - gap;
        if (banner->shown()) covered = host->height() - at.top() + padding;
        left = std::min(left, at.left());
    }
    if (placed.empty()) {
        setGeometry(host->width(), host->height(), 0, 0);
    } else {
        const int top = placed.back().second.top();
        setGeometry(left, top, host->width() - padding - left, host->height() - padding - top);
        for (const auto& [banner, at] : placed) banner->setGeometry(at.translated(-left, -top));
        raise();
    }
    if (!isVisible() && !placed.empty()) show();
    if (covered != m_covered) {
        m_covered = covered;
        Q_EMIT coveredHeightChanged(covered);
    }
}

bool NoticeBanners::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) place();
    return QWidget::eventFilter(watched, event);
}

}  // namespace tessarin
