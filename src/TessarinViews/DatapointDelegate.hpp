#pragma once

#include <QStyledItemDelegate>

namespace tessarin {

class DatapointTableModel;

// Draws and edits the cells of the datapoint table: pickers as lists, numbers and texts as
// plain fields, the live value with its pencil (writable tables only) and the status with its
// symbol. Every committed edit is one setData on the table model.
class DatapointDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit DatapointDelegate(DatapointTableModel& model, QObject* parent = nullptr);

    // Where the pencil of a value cell sits.
    [[nodiscard]] static QRect pencilRect(const QRect& cell);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

Q_SIGNALS:
    // The pencil of the row's value cell was clicked.
    void writeRequested(const QModelIndex& index);

private:
    [[nodiscard]] bool writable(const QModelIndex& index) const;
    void paintBackground(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void paintLiveValue(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void paintCheck(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void paintStatus(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    DatapointTableModel& m_model;
};

}  // namespace tessarin
