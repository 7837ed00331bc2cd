#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include "stylerecords.h"
#include "styleslots.h"

#include <json/value.h>

#include <QFont>
#include <QRect>
#include <QSize>

#include <memory>
#include <optional>
#include <vector>

class QEvent;
class QMouseEvent;
class QPaintEvent;
class QPainter;

namespace OrvQtLib {

class OrvQControlBase;
class OrvQControlBaseImpl;

/// The visual state of a control. Controls with per-state styles index their
/// style arrays with it; setters that take one ignore a value outside the four.
enum OrvQControlState {
    StateNormal = 0,
    StateHover = 1,
    StatePressed = 2,
    StateDisabled = 3,
};

/// A state as the index of the style setters that take one (0 to 3; 4 would
/// mean all four): -1, which they ignore, for a value outside the four states.
constexpr int oneStateIndex(OrvQControlState state)
{
    return state >= StateNormal && state <= StateDisabled ? int(state) : -1;
}

/// How a control's geometry follows its parent: the "type" of its "layout" key.
enum OrvQLayoutKind {
    LayoutNone = -1,
    LayoutAnchor = 0,
    LayoutFill = 1,
    LayoutManaged = 2,
    LayoutFixed = 3,
};

/// Eight layout parameters; their meaning depends on the layout kind.
struct OrvQLayoutParams {
    int p1 = 0; ///< anchor: hor      fill: left    fixed: x
    int p2 = 0; ///< anchor: ver      fill: top     fixed: y
    int p3 = 0; ///< anchor: wType    fill: right   fixed: width
    int p4 = 0; ///< anchor: hType    fill: bottom  fixed: height
    int p5 = 0; ///< anchor: x offset
    int p6 = 0; ///< anchor: y offset
    int p7 = 0; ///< anchor: width (wType 0) or right margin (wType 1)
    int p8 = 0; ///< anchor: height (hType 0) or bottom margin (hType 1)

    /// Equal when all eight parameters are.
    friend bool operator==(const OrvQLayoutParams &a, const OrvQLayoutParams &b)
    {
        return a.p1 == b.p1 && a.p2 == b.p2 && a.p3 == b.p3 && a.p4 == b.p4
            && a.p5 == b.p5 && a.p6 == b.p6 && a.p7 == b.p7 && a.p8 == b.p8;
    }
};

/// The interface every control widget implements as its second base.
/// The interface every control widget implements as its second base. Reach it
/// from any QObject with controlInterface(); OrvQControl implements it.
class IOrvQControlBase
{
public:
    /// Destroys the interface.
    virtual ~IOrvQControlBase() = default;

    /// The control's layout rule and common keys; owned by the control.
    virtual OrvQControlBase *controlBase() = 0;
    /// Reads the common keys and the control's own keys from its element; false
    /// when the control could not load, which then keeps its defaults.
    virtual bool loadFromJson(const Json::Value &element) = 0;
    /// Keeps the given margins to the parent's edges.
    virtual void setFillLayout(int left, int top, int right, int bottom) = 0;
    /// Stores six parameters for a layout the host manages itself.
    virtual void setManagedLayout(int p1, int p2, int p3, int p4, int p5, int p6) = 0;
    /// A fixed rectangle in the parent.
    virtual void setFixedLayout(int x, int y, int w, int h) = 0;
    /// Anchored to the parent's edges or centre, as `params` says.
    virtual void setAnchorLayout(const OrvQLayoutParams &params) = 0;
    /// The eight layout parameters, owned by the control; null without a layout rule.
    virtual OrvQLayoutParams *layoutData() = 0;
    /// The layout kind, an OrvQLayoutKind value.
    virtual int layoutType() const = 0;
    /// The "qt"-prefixed type name the control is registered under.
    virtual QString typeName() const = 0;
    /// The implementation object that paints the control; owned by the control.
    virtual OrvQControlBaseImpl *impl() const = 0;
    /// Called by the loader once the element's children are built.
    virtual void loadFinished() = 0;
};

/// The names of commonElementKeyTable() and layoutKeyTable() (controlkeys.h).
const std::vector<const char *> &commonElementKeys();
/// The keys of an element's "layout" object.
const std::vector<const char *> &layoutKeys();

/// Runs `call`, which may delete `object`: a Qt base handler, or a signal
/// whose slot closes a window. True when `object` outlived it; after false,
/// nothing of the object may be touched.
template <class Call>
bool survives(QObject *object, Call &&call)
{
    QPointer<QObject> alive(object);
    call();
    return !alive.isNull();
}

/// Runs `set`, then emits `changed` with the new value when `get` reads
/// something else than before: the shape of every property setter, which
/// notifies only on a real change. Nothing is touched after the emit.
template <class Object, class Value, class Set, class Signal>
void notifyOnChange(Object *object, Value (Object::*get)() const, Set &&set, Signal changed)
{
    const Value before = (object->*get)();
    set();
    const Value after = (object->*get)();
    if (after != before)
        emit(object->*changed)(after);
}

/// One object of type T per process for caches of GUI values (fonts,
/// palettes) that must go with the application, before Qt's font engines do:
/// made on first use and deleted by a post routine. On the heap, so it does
/// not matter whether the application ends before or after the statics.
template <class T>
T &applicationCache()
{
    static T *cache = nullptr;
    if (!cache) {
        cache = new T;
        qAddPostRoutine([] {
            delete cache;
            cache = nullptr;
        });
    }
    return *cache;
}

/// The control interface of a widget or object, if it has one.
IOrvQControlBase *controlInterface(QObject *object);

/// Layout kind and parameters of one control, and the common element keys.
class OrvQControlBase
{
public:
    /// Lays out `widget`, which it does not own.
    explicit OrvQControlBase(QWidget *widget = nullptr) : m_widget(widget) {}
    /// Destroys the layout rule; the widget stays.
    virtual ~OrvQControlBase() = default;

    /// Reads "name", "tooltip", "visibility", "enable" and "layout" (or x, y, w, h).
    virtual void loadCommonAttributes(const Json::Value &element);
    /// Reads the "layout" object, or "x", "y", "w" and "h" without one.
    void parseLayout(const Json::Value &element);

    /// Sets the widget's geometry from the layout rule, then lays out every
    /// child control.
    void applyLayout();
    /// The widget's own geometry only; the children keep theirs.
    void applyOwnLayout();
    /// The widget size at which the children were last laid out; invalid
    /// before the first pass.
    QSize childLayoutSize() const { return m_childLayoutSize; }

    /// See IOrvQControlBase::setFillLayout().
    void setFillLayout(int left, int top, int right, int bottom);
    /// See IOrvQControlBase::setManagedLayout().
    void setManagedLayout(int p1, int p2, int p3, int p4, int p5, int p6);
    /// See IOrvQControlBase::setFixedLayout().
    void setFixedLayout(int x, int y, int w, int h);
    /// See IOrvQControlBase::setAnchorLayout().
    void setAnchorLayout(const OrvQLayoutParams &params);

    /// The layout kind, an OrvQLayoutKind value.
    int layoutType() const { return m_layoutKind; }
    /// The parameters, owned by this object; null while the kind is LayoutNone.
    OrvQLayoutParams *layoutData();
    /// The parameters, whatever the kind.
    const OrvQLayoutParams &layoutParams() const { return m_params; }
    /// The widget laid out; not owned.
    QWidget *widget() const { return m_widget; }
    /// Lays out another widget from now on; not owned.
    void setWidget(QWidget *widget) { m_widget = widget; }

    /// Geometry of the layout rule inside a parent of the given size, computed
    /// in 64 bits and clamped to +-QWIDGETSIZE_MAX. Null for kinds that keep
    /// the widget's geometry.
    std::optional<QRect> layoutRect(const QSize &parentSize) const;

private:
    void applyOwnGeometry();
    void setWidgetGeometry(const QRect &rect);
    void readElementRect(const Json::Value &element);

    int m_layoutKind = LayoutNone;
    OrvQLayoutParams m_params;
    QWidget *m_widget = nullptr;
    quint64 m_childPasses = 0;
    QSize m_childLayoutSize;
};

/// One member of an element's "attr" object.
struct OrvQAttrValue {
    /// The JSON type the value had.
    enum Kind {
        Bool = 0,
        Text = 1,
        UInt = 6,
        Int = 7,
        Double = 11,
        TextList = 12,
    };

    int kind = Bool; ///<< a Kind
    QVariant value; ///<< the value, converted to Qt
    int count = 0; ///< number of texts of a TextList, else 0
};

/// Base of every control's implementation object: visual state, painting entry
/// and the mouse operations, plus the generic attribute table.
class OrvQControlBaseImpl : public QObject
{
    Q_OBJECT

public:
    explicit OrvQControlBaseImpl(QWidget *widget);
    ~OrvQControlBaseImpl() override;

    virtual void paint(QWidget *widget, QPaintEvent *event);
    virtual void draw(QPainter *painter, const QRect &rect);
    virtual void loadFinished();
    virtual void mousePress(QMouseEvent *event);
    virtual void mouseRelease(QMouseEvent *event);
    virtual void mouseEnter(QEvent *event);
    virtual void mouseLeave(QEvent *event);
    virtual void mouseMove(QMouseEvent *event);
    virtual void mouseDoubleClick(QMouseEvent *event);

    /// Fills the attribute table from the element's "attr" object; false for a
    /// null element.
    bool loadAttributes(const Json::Value &element);

    /// Keeps what the control was skinned with; the style-slot walk and the
    /// key tables call it while loading.
    void rememberSkin(std::unique_ptr<OrvQSkinRecord> record);
    /// Skins the control again from the current skin after a switch: every
    /// style slot looked up again by the name its description gave, the
    /// image-name keys applied again, then restyled(), then a repaint. Texts,
    /// values and geometry stay as they are.
    void restyle();

    QWidget *widget() const { return m_widget; }
    /// Where the control paints and repaints: a scroll area is painted only
    /// through its viewport; any other control is its own surface.
    QWidget *paintSurface() const;
    OrvQControlState state() const { return m_state; }
    void setState(OrvQControlState state) { m_state = state; }
    const QMap<QByteArray, OrvQAttrValue> &attributes() const { return m_attributes; }

    /// Painting services shared by every control. None of them saves or
    /// restores the painter's state unless it says so.
    static void drawBackground(QPainter *painter, const OrvQRectStyle &style, const QRect &rect);
    static void drawBackground(QPainter *painter, const OrvQRectStyle &style, int x, int y, int w, int h);
    /// A rect style over the whole of a viewport, clipped to the region being
    /// painted; the painter's state is restored.
    /// Whether drawing the style over a rectangle covers every pixel of it
    /// opaquely: a solid or gradient fill of opaque colours, square corners.
    static bool coversOpaquely(const OrvQRectStyle &style);
    static void drawViewportBackground(QPainter *painter, const OrvQRectStyle &style, const QWidget *viewport,
                                       const QRegion &region);
    /// The colour part of a rect style: fill (solid or gradient), rounding, borders.
    static void drawColorRect(QPainter *painter, const OrvQRectStyle &style, int x, int y, int w, int h);
    static void drawNineGrid(QPainter *painter, const QString &image, const OrvQNineGrid &grid,
                             int x, int y, int w, int h);
    /// The image part of a rect style: its image name and grid.
    static void drawNineGrid(QPainter *painter, const OrvQRectStyle &style, int x, int y, int w, int h);
    static void drawImageAligned(QPainter *painter, const QString &image, const OrvQImageAlign &align,
                                 int x, int y, int w, int h);
    static void drawImageAligned(QPainter *painter, const QString &image, const OrvQImageAlign &align,
                                 const QRect &rect);
    static void drawStyledText(QPainter *painter, const QString &text, const OrvQFontStyle &style,
                               int x, int y, int w, int h, bool horizontal);
    static void drawStyledText(QPainter *painter, const QString &text, const OrvQFontStyle &style,
                               int x, int y, int w, int h, Qt::Orientation orientation);
    /// Uses the style's isHor as the direction.
    static void drawStyledText(QPainter *painter, const QString &text, const OrvQFontStyle &style,
                               const QRect &rect);
    static QSize textSize(const OrvQFontStyle &style, const QString &text);
    /// Draws one line of plain text aligned in `rect` with the painter's pen,
    /// from a bounded cache of laid-out lines, so repainting a text does not
    /// shape it again. False, drawing nothing, for text it does not handle
    /// (several lines, tabs, very long text, unusual alignment); the caller
    /// then draws it as usual.
    static bool drawTextLine(QPainter *painter, const QRect &rect, Qt::Alignment alignment, const QFont &font,
                             const QString &text);
    /// `text` elided to `width` pixels in `font`; a text that plainly fits
    /// comes back as it is without being shaped.
    static QString elidedText(const QFont &font, const QString &text, Qt::TextElideMode mode, int width);
    /// Length of the filled part of a bar `full` pixels long: the share
    /// (value - minimum) / (maximum - minimum) of it, held to 0..full, so a
    /// value past the range never paints outside the bar. 0 for an empty range.
    static int filledLength(qint64 value, qint64 minimum, qint64 maximum, int full);
    /// The share of the range as a whole percentage, truncated and held to
    /// 0..100; 0 for an empty range.
    static int rangePercent(qint64 value, qint64 minimum, qint64 maximum);
    /// Device pixels per logical pixel of what `painter` draws on.
    static qreal deviceRatio(const QPainter *painter);
    /// An image as drawn where `painter` draws: the package's variant for
    /// that density, if any.
    static const QImage *imageFor(const QPainter *painter, const QString &name);
    /// An image's size in logical pixels: a variant's is its base image's.
    static QSize logicalSize(const QImage &image);
    /// The QFont and the alignment flags a font style stands for.
    static QFont fontOf(const OrvQFontStyle &style);
    static Qt::Alignment alignmentOf(const OrvQFontStyle &style);

protected:
    /// Moves to `state` and repaints at once, as every mouse transition does.
    void changeState(OrvQControlState state);
    /// For what a control takes from its styles into its widget at load (a
    /// font, a palette); the default does nothing.
    virtual void restyled();

    QWidget *m_widget = nullptr;
    OrvQControlState m_state = StateNormal;
    QMap<QByteArray, OrvQAttrValue> m_attributes;

private:
    std::vector<std::unique_ptr<OrvQSkinRecord>> m_skinRecords;
};

/// Text of a description decoded from GBK bytes (Latin-1 where the platform
/// has no GBK codec).
QString fromGbk(const char *bytes);
/// As fromGbk(const char *), for a byte array.
QString fromGbk(const QByteArray &bytes);

/// Whether `bytes` are well-formed UTF-8: no stray continuation bytes,
/// overlong forms, surrogates or code points past U+10FFFF.
bool isValidUtf8(const char *bytes, qsizetype length);
/// A user-visible text of a description or style.json: UTF-8 when the bytes
/// are valid UTF-8 (as JSON editors write them), else GBK as older skins
/// stored them.
QString fromSkinText(const char *bytes, qsizetype length);
/// As fromSkinText(const char *, qsizetype), for a byte array.
QString fromSkinText(const QByteArray &bytes);

} // namespace OrvQtLib

#define IOrvQControlBase_iid "IOrvQControlBase"
Q_DECLARE_INTERFACE(OrvQtLib::IOrvQControlBase, IOrvQControlBase_iid)

/// The meta-object answers with a few string compares where the cross-cast
/// walks the class graph; classes without a meta-object of their own (or
/// without Q_INTERFACES) still get the cast.
inline OrvQtLib::IOrvQControlBase *OrvQtLib::controlInterface(QObject *object)
{
    if (auto *control = qobject_cast<IOrvQControlBase *>(object))
        return control;
    return dynamic_cast<IOrvQControlBase *>(object);
}
