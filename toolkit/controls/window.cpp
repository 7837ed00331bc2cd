#include "window.h"

#include "qtcompat.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QHideEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QVector>

#include <algorithm>
#include <iterator>
#include <limits>

namespace OrvQtLib {

namespace {

// The sides an edge zone moves and the cursor it shows, indexed by edge.
struct EdgeSides {
    bool left;
    bool right;
    bool top;
    bool bottom;
    Qt::CursorShape cursor;
};

constexpr EdgeSides EdgeTable[] = {
    {true, false, false, false, Qt::SizeHorCursor},  // left
    {false, true, false, false, Qt::SizeHorCursor},  // right
    {false, false, true, false, Qt::SizeVerCursor},  // top
    {false, false, false, true, Qt::SizeVerCursor},  // bottom
    {false, true, false, true, Qt::SizeFDiagCursor}, // bottom-right
    {false, true, true, false, Qt::SizeBDiagCursor}, // top-right
    {true, false, true, false, Qt::SizeFDiagCursor}, // top-left
    {true, false, false, true, Qt::SizeBDiagCursor}, // bottom-left
};

bool isEdge(int edge)
{
    return edge >= 0 && edge < int(std::size(EdgeTable));
}

int clampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int clampedCoordinate(qint64 value)
{
    return int(std::clamp<qint64>(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

// How far a side moves when the pointer moves by `delta`: as far as the
// pointer, but no further than keeps the extent within minimum..maximum.
// `growsWith` is +1 for a right or bottom side, -1 for a left or top one.
qint64 limitedShift(qint64 delta, qint64 extent, qint64 minimum, qint64 maximum, int growsWith)
{
    // A window never grows past what the screens hold, nor past its current
    // size if that is larger: a minimum of millions of pixels would
    // otherwise ask for a backing store of gigabytes.
    maximum = std::max(extent, maximum);
    minimum = std::min(minimum, maximum);
    const qint64 low = growsWith > 0 ? minimum - extent : extent - maximum;
    const qint64 high = growsWith > 0 ? maximum - extent : extent - minimum;
    return std::clamp(delta, low, high);
}

} // namespace

// ---- OrvQWindowImpl ----------------------------------------------------------

OrvQWindowImpl::OrvQWindowImpl(QWidget *window)
    : OrvQControlBaseImpl(window)
    , m_eventLoop(std::make_shared<QEventLoop>())
{
}

OrvQWindowImpl::~OrvQWindowImpl() = default;

int OrvQWindowImpl::zoneAt(const QPoint &pos) const
{
    if (!m_widget)
        return EdgeNone;
    const qint64 g = m_borderWidth;
    const bool left = pos.x() < g;
    const bool right = pos.x() > m_widget->width() - g;
    const bool top = pos.y() < g;
    const bool bottom = pos.y() > m_widget->height() - g;
    // Corners first, so a point in both bands takes the corner.
    if (right && bottom)
        return EdgeBottomRight;
    if (left && top)
        return EdgeTopLeft;
    if (bottom && left)
        return EdgeBottomLeft;
    if (top && right)
        return EdgeTopRight;
    if (left)
        return EdgeLeft;
    if (right)
        return EdgeRight;
    if (top)
        return EdgeTop;
    if (bottom)
        return EdgeBottom;
    return EdgeNone;
}

Qt::CursorShape OrvQWindowImpl::cursorFor(int edge)
{
    return isEdge(edge) ? EdgeTable[edge].cursor : Qt::ArrowCursor;
}

void OrvQWindowImpl::mousePress(QMouseEvent *event)
{
    // Other buttons open menus and the like; they neither resize nor drag.
    if (!m_widget || event->button() != Qt::LeftButton)
        return;
    if (m_resizable && !m_widget->isMaximized()) {
        const int zone = zoneAt(event->pos());
        if (zone != EdgeNone)
            m_resizeEdge = zone;
    }
    if (m_draggable && event->pos().y() < m_captionHeight) {
        m_dragging = true;
        event->accept();
    }
    m_lastGlobal = globalPointOf(event);
}

void OrvQWindowImpl::mouseMove(QMouseEvent *event)
{
    QWidget *window = m_widget;
    if (!window)
        return;
    if (m_resizable && !window->isMaximized()) {
        if (!isEdge(m_resizeEdge)) {
            const int zone = zoneAt(event->pos());
            if (zone != EdgeNone) {
                window->setCursor(cursorFor(zone));
                m_resizeCursorShown = true;
            } else if (!m_dragging) {
                clearResizeCursor();
            }
        } else if (!resizeStep(globalPointOf(event))) {
            return; // the window, and this with it, is gone
        }
    }

    if (!isEdge(m_resizeEdge) && m_draggable && m_dragging && (event->buttons() & Qt::LeftButton)) {
        const QPoint global = globalPointOf(event);
        const QPoint to(clampedCoordinate(qint64(window->x()) + global.x() - m_lastGlobal.x()),
                        clampedCoordinate(qint64(window->y()) + global.y() - m_lastGlobal.y()));
        m_lastGlobal = global;
        event->accept();
        window->move(to);
    }
}

bool OrvQWindowImpl::resizeStep(const QPoint &global)
{
    const EdgeSides &sides = EdgeTable[m_resizeEdge];
    QWidget *window = m_widget;
    const qint64 dx = qint64(global.x()) - m_lastGlobal.x();
    const qint64 dy = qint64(global.y()) - m_lastGlobal.y();
    const qint64 w = window->width();
    const qint64 h = window->height();

    // A left or top side moves the window by the same limited amount it
    // shrinks it, so the opposite side stays put at the minimum too.
    const QScreen *screen = window->screen();
    const QSize screens = screen ? screen->availableVirtualSize() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    qint64 shiftX = 0;
    qint64 shiftY = 0;
    if (sides.left || sides.right)
        shiftX = limitedShift(dx, w, m_minWidth, screens.width(), sides.right ? 1 : -1);
    if (sides.top || sides.bottom)
        shiftY = limitedShift(dy, h, m_minHeight, screens.height(), sides.bottom ? 1 : -1);
    const int newWidth = int(sides.right ? w + shiftX : sides.left ? w - shiftX : w);
    const int newHeight = int(sides.bottom ? h + shiftY : sides.top ? h - shiftY : h);
    const QPoint to(clampedCoordinate(window->x() + (sides.left ? shiftX : 0)),
                    clampedCoordinate(window->y() + (sides.top ? shiftY : 0)));

    // The grab point follows the side, not the pointer: a side held at the
    // minimum picks up again when the pointer comes back to it.
    m_lastGlobal = QPoint(clampToInt(m_lastGlobal.x() + shiftX), clampToInt(m_lastGlobal.y() + shiftY));

    // Both calls run the resize and move handlers, which may close the window.
    if (!survives(window, [&] { window->setFixedSize(newWidth, newHeight); }))
        return false;
    if (to != window->pos())
        return survives(window, [&] { window->move(to); });
    return true;
}

void OrvQWindowImpl::mouseRelease(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (isEdge(m_resizeEdge)) {
        m_resizeEdge = EdgeNone;
        clearResizeCursor();
    }
    m_dragging = false;
}

void OrvQWindowImpl::clearResizeCursor()
{
    // Only a cursor set here is taken back; one the host set stays.
    if (!m_resizeCursorShown || !m_widget)
        return;
    m_widget->unsetCursor();
    m_resizeCursorShown = false;
}

void OrvQWindowImpl::setResizable(bool resizable)
{
    m_resizable = resizable;
    if (!m_widget)
        return;
    m_widget->setAttribute(Qt::WA_MouseTracking, resizable);
    if (!resizable) {
        // No more moves would come to take an edge cursor back.
        clearResizeCursor();
        m_resizeEdge = EdgeNone;
    }
}

void OrvQWindowImpl::setMinWidth(int width)
{
    m_minWidth = std::clamp(width, 1, QWIDGETSIZE_MAX);
}

void OrvQWindowImpl::setMinHeight(int height)
{
    m_minHeight = std::clamp(height, 1, QWIDGETSIZE_MAX);
}

void OrvQWindowImpl::endEventLoop()
{
    // exit() on a loop that is not running would only disturb the loop that
    // is, through the dispatcher's wake-up.
    if (m_eventLoop->isRunning())
        m_eventLoop->exit(0);
}

// ---- OrvQWindow --------------------------------------------------------------

OrvQWindow::OrvQWindow(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_impl(std::make_unique<OrvQWindowImpl>(this))
{
}

OrvQWindow::~OrvQWindow()
{
    // A runner still in exec() returns once control is back in its loop;
    // its own copy keeps the loop alive until then.
    m_impl->endEventLoop();
}

void OrvQWindow::setDraggable(bool draggable)
{
    notifyOnChange(this, &OrvQWindow::isDraggable, [&] { m_impl->setDraggable(draggable); }, &OrvQWindow::draggableChanged);
}

void OrvQWindow::setResizable(bool resizable)
{
    notifyOnChange(this, &OrvQWindow::isResizable, [&] { m_impl->setResizable(resizable); }, &OrvQWindow::resizableChanged);
}

void OrvQWindow::setMinHeight(int height)
{
    notifyOnChange(this, &OrvQWindow::minHeight, [&] { m_impl->setMinHeight(height); }, &OrvQWindow::minHeightChanged);
}

void OrvQWindow::setMinWidth(int width)
{
    notifyOnChange(this, &OrvQWindow::minWidth, [&] { m_impl->setMinWidth(width); }, &OrvQWindow::minWidthChanged);
}

void OrvQWindow::setOnlyDragCaption(bool onlyCaption)
{
    notifyOnChange(this, &OrvQWindow::onlyDragCaption, [&] { m_impl->setOnlyDragCaption(onlyCaption); }, &OrvQWindow::onlyDragCaptionChanged);
}

bool OrvQWindow::isDraggable() const
{
    return m_impl->isDraggable();
}

bool OrvQWindow::isResizable() const
{
    return m_impl->isResizable();
}

bool OrvQWindow::onlyDragCaption() const
{
    return m_impl->onlyDragCaption();
}

int OrvQWindow::minHeight() const
{
    return m_impl->minHeight();
}

int OrvQWindow::minWidth() const
{
    return m_impl->minWidth();
}

std::shared_ptr<QEventLoop> OrvQWindow::eventLoop() const
{
    return m_impl->eventLoop();
}

int OrvQWindow::runEventLoop()
{
    // A copy: the window may be deleted while the loop runs, and the loop
    // must outlive the exec() below.
    const std::shared_ptr<QEventLoop> loop = m_impl->eventLoop();
    if (loop->isRunning())
        return -1;
    if (!isVisible() && !survives(this, [this] { show(); }))
        return 0;
    // Hidden again by its show handler: nothing would end the loop.
    if (!isVisible())
        return -1;
    return loop->exec();
}

void OrvQWindow::mousePressEvent(QMouseEvent *event)
{
    m_impl->mousePress(event);
}

void OrvQWindow::mouseReleaseEvent(QMouseEvent *event)
{
    m_impl->mouseRelease(event);
}

void OrvQWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->ignore();
}

void OrvQWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (survives(this, [&] { m_impl->mouseMove(event); }))
        QDialog::mouseMoveEvent(event);
}

void OrvQWindow::paintEvent(QPaintEvent *)
{
    // The controls paint themselves; the window itself has no look.
}

void OrvQWindow::resizeEvent(QResizeEvent *event)
{
    // Guarded copies: a child's resize handler may delete siblings, or the
    // window itself.
    QVector<QPointer<QObject>> children;
    for (QObject *child : this->children())
        children.append(child);
    for (const QPointer<QObject> &child : children) {
        IOrvQControlBase *control = child ? controlInterface(child) : nullptr;
        OrvQControlBase *base = control ? control->controlBase() : nullptr;
        if (base && !survives(this, [base] { base->applyLayout(); }))
            return;
    }
    // QDialog's handler keeps an enabled size grip in its corner.
    QDialog::resizeEvent(event);
}

void OrvQWindow::closeEvent(QCloseEvent *event)
{
    // QDialog's handler rejects the dialog, so a close from the title bar
    // emits finished and rejected; their slots may delete the window.
    if (survives(this, [&] { QDialog::closeEvent(event); }) && event->isAccepted())
        m_impl->endEventLoop();
}

void OrvQWindow::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    // accept(), reject(), done(), hide() and Escape send no close event, so
    // hiding ends the loop too. A spontaneous hide is a minimised window,
    // which is still open.
    if (!event->spontaneous())
        m_impl->endEventLoop();
}

} // namespace OrvQtLib
