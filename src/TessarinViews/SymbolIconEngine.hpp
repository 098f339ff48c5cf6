#pragma once

#include <QColor>
#include <QIconEngine>
#include <QString>

namespace tessarin {

// Draws one of the project's symbols (assets/icons/<symbol>.svg) at whatever size the widget
// asks for, tinted in one colour, so that icons stay sharp on every screen and readable in light
// and dark palettes. The drawings are black on transparent; white parts are cut-outs.
class SymbolIconEngine final : public QIconEngine {
public:
    SymbolIconEngine(QString symbol, QColor normal, QColor disabled);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    [[nodiscard]] QIconEngine* clone() const override;
    [[nodiscard]] QString key() const override;
    [[nodiscard]] QString iconName() override { return m_symbol; }
    [[nodiscard]] bool isNull() override;

private:
    [[nodiscard]] QColor tintFor(QIcon::Mode mode) const;

    QString m_symbol;
    QColor m_normal;
    QColor m_disabled;
};

}  // namespace tessarin
