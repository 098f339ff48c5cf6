#pragma once

#include <QWidget>

namespace tessarin {

class NoticeBanner;
class PollerModel;

// The notices of the table area, stacked at its lower trailing corner: the connection problem
// above the hint that the device does not answer, and a failed write at the foot. Each shows
// while its model condition holds; dismissing calls the model. The stack sits over its
// parent's lower trailing corner and reports the height it covers.
class NoticeBanners final : public QWidget {
    Q_OBJECT

public:
    static constexpr int padding = 10;
    static constexpr int gap = 8;

    NoticeBanners(PollerModel& model, QWidget* parent);

    [[nodiscard]] NoticeBanner& connectionBanner() const { return *m_connection; }
    [[nodiscard]] NoticeBanner& noResponseBanner() const { return *m_noResponse; }
    [[nodiscard]] NoticeBanner& writeErrorBanner() const { return *m_writeError; }

    // The height from the parent's bottom edge that shown banners cover, padding included;
    // 0 when none shows.
    [[nodiscard]] int coveredHeight() const { return m_covered; }

Q_SIGNALS:
    void coveredHeightChanged(int height);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sync();
    void place();

    PollerModel& m_model;
    NoticeBanner* m_connection;
    NoticeBanner* m_noResponse;
    NoticeBanner* m_writeError;
    int m_covered = 0;
};

}  // namespace tessarin
