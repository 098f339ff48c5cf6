#pragma once

#include <QLineEdit>

namespace tessarin {

// A text field of the connection bar: a rounded box that fades while reading (its settings
// apply at the next start) and is outlined in red while stopped when its text is invalid.
class ConnectionField final : public QLineEdit {
    Q_OBJECT

public:
    explicit ConnectionField(QWidget* parent = nullptr);

    // reading: the model is connecting or reading; invalid: the text cannot be used to start.
    void setLook(bool reading, bool invalid);
    [[nodiscard]] bool showsInvalid() const { return m_showsInvalid; }

private:
    bool m_showsInvalid = false;
};

}  // namespace tessarin
