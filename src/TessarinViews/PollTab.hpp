#pragma once

// Qt first: moc cannot parse the <concepts> that Uuid.hpp pulls in unless Qt came before.
#include <QAbstractButton>
#include <QColor>

#include "ModbusCore/Uuid.hpp"


namespace tessarin {

// One poll's tab: a capsule with its health dot, its name and, while the poll is switched
// off, a pause symbol.
class PollTab final : public QAbstractButton {
    Q_OBJECT

public:
    struct Look {
        QString title;   // the name, or the text for an unnamed poll
        bool paused;     // the poll is not read
        bool selected;
        QColor dot;

        bool operator==(const Look&) const = default;
    };

    PollTab(Uuid pollID, QWidget* parent = nullptr);

    [[nodiscard]] const Uuid& pollID() const { return m_pollID; }
    [[nodiscard]] const Look& look() const { return m_look; }
    void setLook(const Look& look);

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Uuid m_pollID;
    Look m_look;
};

}  // namespace tessarin
