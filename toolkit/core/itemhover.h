#pragma once

#include <QPoint>
#include <QRect>

#include <functional>

class QWidget;

namespace OrvQtLib {

/// The first of `count` items whose rectangle contains `pos`, or -1.
int firstItemAt(int count, const std::function<QRect(int)> &rectOf, const QPoint &pos);

/// The item under the pointer in a control of hit-tested items (tab bar,
/// menu bar): it follows the pointer from item to item, stays on the last
/// item while the pointer is over a gap, and is cleared when the pointer
/// leaves. The control repaints only when the item changed.
class OrvQItemHover
{
public:
    /// The item under the pointer, -1 for none.
    int index() const { return m_index; }

    /// The pointer is over item `hit`, -1 for no item.
    void pointerAt(int hit, QWidget *surface);
    /// The pointer left the control; repaints `surface` if an item was hovered.
    void pointerLeft(QWidget *surface);
    /// The items changed: forget the index without repainting.
    void reset() { m_index = -1; }

private:
    void moveTo(int index, QWidget *surface);

    int m_index = -1;
};

} // namespace OrvQtLib
