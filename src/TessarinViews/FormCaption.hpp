#pragma once

#include <QLabel>

namespace tessarin {

// A small explanatory text under a form section, in the secondary colour, wrapping.
class FormCaption final : public QLabel {
    Q_OBJECT

public:
    explicit FormCaption(const QString& text, QWidget* parent = nullptr);
};

}  // namespace tessarin
