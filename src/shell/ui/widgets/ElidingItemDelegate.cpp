#include "shell/ui/widgets/ElidingItemDelegate.h"

QSize ElidingItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    // A list view makes each entry as wide as the wider of its hint and the view: with no
    // width asked for, every entry takes the view's width and its text is elided to it.
    QSize size = QItemDelegate::sizeHint(option, index);
    size.setWidth(0);
    return size;
}
