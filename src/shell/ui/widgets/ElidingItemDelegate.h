#pragma once

#include <QItemDelegate>

// Draws the entries of a drop-down list within the list's width: an entry too long for it is
// elided, and the list never grows a horizontal extent of its own.
class ElidingItemDelegate : public QItemDelegate {
    Q_OBJECT
public:
    using QItemDelegate::QItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
