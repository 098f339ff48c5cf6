#include "TessarinViews/WriteEditor.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/Tone.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tessarin {

namespace {

constexpr int fieldWidth = 160;
constexpr int padding = 14;

}  // namespace

WriteEditor::WriteEditor(Datapoint point, std::optional<double> current, std::function<void(double)> onWrite,
                         QWidget* parent)
    : QFrame(parent, Qt::Popup), m_point(std::move(point)), m_onWrite(std::move(onWrite)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(10);
    auto* title = new QLabel(qtText(L10n::Write::title(utf8Text(PollerModel::label(m_point)))), this);
    QFont headline = title->font();
    headline.setBold(true);
    title->setFont(headline);
    layout->addWidget(title);
    if (isBit(m_point.table)) {
        buildBitButtons();
    } else {
        buildValueField(current);
    }
}

void WriteEditor::buildBitButtons() {
    auto* row = new QHBoxLayout;
    auto* off = new QPushButton(qtText(L10n::Write::off()), this);
    auto* on = new QPushButton(qtText(L10n::Write::on()), this);
    off->setObjectName(QStringLiteral("off"));
    on->setObjectName(QStringLiteral("on"));
    connect(off, &QPushButton::clicked, this, [this] { send(0); });
    connect(on, &QPushButton::clicked, this, [this] { send(1); });
    row->addWidget(off);
    row->addWidget(on);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void WriteEditor::buildValueField(std::optional<double> current) {
    auto* row = new QHBoxLayout;
    m_field = new QLineEdit(this);
    m_field->setPlaceholderText(qtText(L10n::Write::placeholder()));
    m_field->setFixedWidth(fieldWidth);
    m_field->setClearButtonEnabled(true);
    if (current) {
        m_field->setText(qtText(m_point.formatted(*current)));
        m_field->selectAll();
    }
    auto* write = new QPushButton(qtText(L10n::Write::button()), this);
    write->setObjectName(QStringLiteral("write"));
    write->setDefault(true);
    connect(m_field, &QLineEdit::returnPressed, this, &WriteEditor::submit);
    connect(write, &QPushButton::clicked, this, &WriteEditor::submit);
    // The complaint is about the text that was sent; a changed text has not been judged yet.
    connect(m_field, &QLineEdit::textEdited, this, [this] { setInvalid(false); });
    row->addWidget(m_field);
    row->addWidget(write);
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->addLayout(row);
    m_caption = new QLabel(this);
    m_caption->setWordWrap(true);
    QFont caption = m_caption->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_caption->setFont(caption);
    layout->addWidget(m_caption);
    setInvalid(false);
    m_caption->setMinimumWidth(m_caption->fontMetrics().horizontalAdvance(m_caption->text()) / 2);
    setFocusProxy(m_field);
}

void WriteEditor::setInvalid(bool invalid) {
    m_invalid = invalid;
    if (m_caption == nullptr) return;
    m_caption->setText(qtText(invalid ? L10n::Table::valueInvalid(m_point.dataType) : L10n::Table::valueHelp()));
    QPalette palette = m_caption->palette();
    palette.setColor(QPalette::WindowText, toneColor(invalid ? Tone::red : Tone::secondary, this->palette()));
    m_caption->setPalette(palette);
}

void WriteEditor::submit() {
    if (m_field == nullptr) return;
    const std::optional<double> value = m_point.parse(utf8Text(m_field->text()));
    if (!value) {
        setInvalid(true);
        return;
    }
    send(*value);
}

void WriteEditor::send(double value) {
    // Closing first: the write may raise a notice that the popup would otherwise cover.
    const auto onWrite = m_onWrite;
    close();
    onWrite(value);
}

void WriteEditor::popUp(const QRect& anchor) {
    adjustSize();
    QPoint at = anchor.bottomLeft() + QPoint(0, 2);
    if (const QScreen* screen = QWidget::screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
        if (at.y() + height() > room.bottom()) at.setY(anchor.top() - height() - 2);
    }
    move(at);
    show();
    if (m_field != nullptr) m_field->setFocus();
}

}  // namespace tessarin
