#pragma once

#include "controlbase.h"
#include "windowloader.h"

#include <QDialog>
#include <QPoint>

#include <memory>

class QEventLoop;

namespace OrvQtLib {

/// The state of a dialog window: which edge the pointer holds, whether the
/// caption band drags it, and the loop that waits for it to go away.
class OrvQWindowImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    /// Edge zones, in the order they are tested after the corners.
    enum Edge {
        EdgeNone = -1,
        EdgeLeft = 0,
        EdgeRight = 1,
        EdgeTop = 2,
        EdgeBottom = 3,
        EdgeBottomRight = 4,
        EdgeTopRight = 5,
        EdgeTopLeft = 6,
        EdgeBottomLeft = 7,
    };

    explicit OrvQWindowImpl(QWidget *window);
    ~OrvQWindowImpl() override;

    /// The edge zone under a point in window coordinates; EdgeNone inside.
    int zoneAt(const QPoint &pos) const;
    static Qt::CursorShape cursorFor(int edge);

    /// Grabs an edge or starts a drag; the left button only.
    void mousePress(QMouseEvent *event) override;
    /// Hover cursors, then an edge resize or a drag step. May delete the window.
    void mouseMove(QMouseEvent *event) override;
    void mouseRelease(QMouseEvent *event) override;

    void setResizable(bool resizable);
    void setDraggable(bool draggable) { m_draggable = draggable; }
    void setOnlyDragCaption(bool onlyCaption) { m_onlyDragCaption = onlyCaption; }
    void setMinWidth(int width);
    void setMinHeight(int height);

    bool isResizable() const { return m_resizable; }
    bool isDraggable() const { return m_draggable; }
    bool onlyDragCaption() const { return m_onlyDragCaption; }
    int borderWidth() const { return m_borderWidth; }
    int captionHeight() const { return m_captionHeight; }
    int minWidth() const { return m_minWidth; }
    int minHeight() const { return m_minHeight; }
    int resizeEdge() const { return m_resizeEdge; }
    bool isDragging() const { return m_dragging; }
    bool isResizeCursorShown() const { return m_resizeCursorShown; }

    /// Shared so that a runner keeps the loop alive past the window's end.
    std::shared_ptr<QEventLoop> eventLoop() const { return m_eventLoop; }
    /// Ends the loop if it runs; a loop not running is left as it is.
    void endEventLoop();

private:
    bool resizeStep(const QPoint &global);
    void clearResizeCursor();

    bool m_resizable = false;
    bool m_draggable = true;
    bool m_onlyDragCaption = false;
    int m_borderWidth = 4;
    int m_captionHeight = 40;
    int m_minWidth = 400;
    int m_minHeight = 400;
    int m_resizeEdge = EdgeNone;
    bool m_dragging = false;
    bool m_resizeCursorShown = false;
    QPoint m_lastGlobal;
    std::shared_ptr<QEventLoop> m_eventLoop;
};

/// A top-level dialog for a loaded description: lays its controls out on
/// every resize and, when asked, is dragged by its caption band and resized
/// by its edges without a system frame.
class OrvQWindow : public QDialog, public OrvQWindowKeyTarget
{
    Q_OBJECT
    /// Whether a drag moves the window.
    Q_PROPERTY(bool draggable READ isDraggable WRITE setDraggable NOTIFY draggableChanged)
    /// Whether its edges resize the window.
    Q_PROPERTY(bool resizable READ isResizable WRITE setResizable NOTIFY resizableChanged)
    /// Whether only the caption band drags the window.
    Q_PROPERTY(bool onlyDragCaption READ onlyDragCaption WRITE setOnlyDragCaption NOTIFY onlyDragCaptionChanged)
    /// Smallest width an edge resize leaves, 1..QWIDGETSIZE_MAX.
    Q_PROPERTY(int minWidth READ minWidth WRITE setMinWidth NOTIFY minWidthChanged)
    /// Smallest height an edge resize leaves, 1..QWIDGETSIZE_MAX.
    Q_PROPERTY(int minHeight READ minHeight WRITE setMinHeight NOTIFY minHeightChanged)

public:
    /// A hidden window, owned by `parent` if one is given.
    explicit OrvQWindow(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~OrvQWindow() override;

    /// Lets a drag on the window move it, or not.
    void setDraggable(bool draggable) override;
    /// Also switches mouse tracking, so hovering an edge shows its cursor.
    void setResizable(bool resizable) override;
    /// Smallest sizes an edge resize leaves, held to 1..QWIDGETSIZE_MAX.
    void setMinHeight(int height) override;
    /// Smallest width an edge resize leaves, held to 1..QWIDGETSIZE_MAX.
    void setMinWidth(int width) override;
    /// Lets only the caption band drag the window, or all of it.
    void setOnlyDragCaption(bool onlyCaption) override;

    /// Whether a drag moves the window.
    bool isDraggable() const;
    /// Whether its edges resize the window.
    bool isResizable() const;
    /// Whether only the caption band drags the window.
    bool onlyDragCaption() const;
    /// Smallest height an edge resize leaves.
    int minHeight() const;
    /// Smallest width an edge resize leaves.
    int minWidth() const;
    /// The implementation object; owned by the window.
    OrvQWindowImpl *impl() const { return m_impl.get(); }

    /// Shows the window if hidden and waits until it closes or hides, or is
    /// deleted. Returns the loop's code: 0 when it ended that way, -1 when
    /// the loop already runs or the window could not be shown. The dialog's
    /// outcome is result(), as after QDialog::exec().
    int runEventLoop();
    /// A copy keeps the loop alive for a caller that runs it itself.
    std::shared_ptr<QEventLoop> eventLoop() const;

signals:
    /// The draggable property changed.
    void draggableChanged(bool draggable);
    /// The resizable property changed.
    void resizableChanged(bool resizable);
    /// The onlyDragCaption property changed.
    void onlyDragCaptionChanged(bool onlyCaption);
    /// The smallest width changed.
    void minWidthChanged(int width);
    /// The smallest height changed.
    void minHeightChanged(int height);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    std::unique_ptr<OrvQWindowImpl> m_impl;
};

} // namespace OrvQtLib
