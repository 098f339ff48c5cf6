#include "TessarinViews/LogFindBar.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/Icons.hpp"
#include "TessarinViews/OutputTextView.hpp"
#include "TessarinViews/Theme.hpp"
#include "TessarinViews/ThemedButton.hpp"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace tessarin {

LogFindBar::LogFindBar(OutputTextView& view, QWidget* parent) : QWidget(parent), m_view(view) {
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(6);

    m_field = new QLineEdit(this);
    m_field->setPlaceholderText(qtText(L10n::Find::placeholder()));
    m_field->setClearButtonEnabled(true);
    m_field->addAction(Icons::symbolIcon(u"magnifyingglass", palette()), QLineEdit::LeadingPosition);
    m_field->setMaximumWidth(320);
    m_field->installEventFilter(this);
    m_previous = new ThemedButton(qtText(L10n::Find::previous()), this);
    m_next = new ThemedButton(qtText(L10n::Find::next()), this);
    m_notFound = new QLabel(qtText(L10n::Find::notFound()), this);
    QPalette colours = m_notFound->palette();
    colours.setColor(QPalette::WindowText, Theme::secondaryText(colours));
    m_notFound->setPalette(colours);
    m_notFound->hide();
    m_done = new ThemedButton(qtText(L10n::Find::done()), this);

    layout->addWidget(m_field, 1);
    layout->addWidget(m_previous);
    layout->addWidget(m_next);
    layout->addWidget(m_notFound);
    layout->addStretch(0);
    layout->addWidget(m_done);

    connect(m_field, &QLineEdit::textChanged, this, [this] { find(false, true); });
    connect(m_field, &QLineEdit::returnPressed, this, [this] { find(false, false); });
    connect(m_next, &QPushButton::clicked, this, [this] { find(false, false); });
    connect(m_previous, &QPushButton::clicked, this, [this] { find(true, false); });
    connect(m_done, &QPushButton::clicked, this, &LogFindBar::dismiss);
    hide();
}

void LogFindBar::open() {
    show();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void LogFindBar::dismiss() {
    hide();
    m_notFound->hide();
    m_view.setFocus(Qt::OtherFocusReason);
}

bool LogFindBar::showsNotFound() const {
    return !m_notFound->isHidden();
}

void LogFindBar::find(bool backward, bool incremental) {
    const QString text = m_field->text();
    const bool found = m_view.findText(
        text, backward ? OutputTextView::Direction::backward : OutputTextView::Direction::forward,
        incremental);
    m_notFound->setVisible(!text.isEmpty() && !found);
}

bool LogFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            dismiss();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers().testFlag(Qt::ShiftModifier)) {
            find(true, false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tessarin
