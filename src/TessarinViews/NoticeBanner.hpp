#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;
class QToolButton;
class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace tessarin {

// A notice floating over the content: a tinted symbol (named as in Icons), a message that
// wraps, and a dismiss button when the notice may be dismissed. It fades in and out; shown()
// tells what it is heading for, so callers need not wait for the fade.
class NoticeBanner final : public QWidget {
    Q_OBJECT

public:
    static constexpr int fadeMs = 200;
    static constexpr int maxWidth = 620;

    NoticeBanner(QString symbol, QColor tint, bool dismissible, QWidget* parent = nullptr);

    // The size the banner takes when it may be at most maxWidth wide: short messages keep
    // the card short, long ones wrap.
    [[nodiscard]] QSize sizeWithin(int maxWidth) const;

    void setText(const QString& text);
    [[nodiscard]] QString text() const;
    // Fades the banner in or out; nothing happens when it already heads that way.
    void setShown(bool shown);
    [[nodiscard]] bool shown() const { return m_shown; }
    [[nodiscard]] QToolButton* dismissButton() const { return m_dismiss; }

Q_SIGNALS:
    void dismissed();
    // A fade in or out came to its end.
    void fadeFinished();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QColor m_tint;
    QLabel* m_text;
    QToolButton* m_dismiss = nullptr;
    QGraphicsOpacityEffect* m_opacity;
    QPropertyAnimation* m_fade;
    bool m_shown = false;
};

}  // namespace tessarin
