#include "itemhover.h"

#include <QWidget>

namespace OrvQtLib {

int firstItemAt(int count, const std::function<QRect(int)> &rectOf, const QPoint &pos)
{
    for (int i = 0; i < count; ++i) {
        if (rectOf(i).contains(pos))
            return i;
    }
    return -1;
}

void OrvQItemHover::pointerAt(int hit, QWidget *surface)
{
    if (hit >= 0)
        moveTo(hit, surface);
}

void OrvQItemHover::pointerLeft(QWidget *surface)
{
    moveTo(-1, surface);
}

void OrvQItemHover::moveTo(int index, QWidget *surface)
{
    if (index == m_index)
        return;
    m_index = index;
    if (surface)
        surface->update();
}

} // namespace OrvQtLib
