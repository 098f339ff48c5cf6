#include "TessarinViews/ChartPeriodPicker.hpp"

#include "Localization/L10n.hpp"
#include "TessarinModel/ModelText.hpp"
#include "TessarinViews/Theme.hpp"
#include "TessarinViews/ThemedPickerBox.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QSettings>

#include <algorithm>

namespace tessarin {

namespace {

const QString windowKey = QStringLiteral("chartWindow");

bool isChoice(int seconds) {
    return std::ranges::find(ChartPeriodPicker::choices, seconds) != ChartPeriodPicker::choices.end();
}

}  // namespace

ChartPeriodPicker::ChartPeriodPicker(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto* label = new QLabel(qtText(L10n::Chart::window()), this);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Theme::secondaryText(colours));
    label->setPalette(colours);
    m_box = new ThemedPickerBox(this);
    for (const int seconds : choices) {
        m_box->addItem(qtText(L10n::Chart::windowLabel(seconds)), seconds);
    }
    const QString help = qtText(L10n::Chart::windowHelp());
    setToolTip(help);
    m_box->setToolTip(help);
    m_box->setAccessibleName(label->text());
    label->setBuddy(m_box);
    layout->addWidget(label);
    layout->addWidget(m_box);

    bool readable = false;
    const int stored = QSettings().value(windowKey, defaultWindow).toInt(&readable);
    m_box->setCurrentIndex(m_box->findData(readable && isChoice(stored) ? stored : defaultWindow));

    connect(m_box, &QComboBox::currentIndexChanged, this, [this] {
        QSettings().setValue(windowKey, window());
        Q_EMIT windowChanged(window());
    });
}

int ChartPeriodPicker::window() const {
    return m_box->currentData().toInt();
}

void ChartPeriodPicker::setWindow(int seconds) {
    if (isChoice(seconds)) {
        m_box->setCurrentIndex(m_box->findData(seconds));
    }
}

}  // namespace tessarin
