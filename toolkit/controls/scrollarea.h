#pragma once

#include "control.h"
#include "controlkeys.h"
#include "slider.h"

#include <QAbstractScrollArea>
#include <QPointer>

namespace OrvQtLib {

/// Where the scroll-area controls differ in how their bars are skinned: one
/// row per control.
struct OrvQScrollAreaRow {
    /// What an element's "size" (arrow button length) does.
    enum ArrowSize {
        ArrowOnChosenBar, // the element's bar
        ArrowIgnored,
        ArrowStoredOnBothBars, // kept, and given to both bars
        ArrowStoredOnly,       // kept, no other effect
    };
    /// How an element's thickness ("w" for the vertical bar, "h" for the
    /// horizontal one) reaches the bars.
    enum Thickness {
        Sheet1FromVerticalElements, // vertical elements only
        Sheet2,
        Sheet2WithArrowSize, // kept; the sheet also carries the kept arrow size
        Sheet3Kept,          // kept
    };

    ArrowSize arrowSize; ///<< what an element's arrow size does
    Thickness thickness; ///<< how an element's thickness reaches the bars
    bool horizontalBarFirst; ///< install order of the two bars
};

/// How the list view's scroll bar elements reach its bars.
inline constexpr OrvQScrollAreaRow ListViewScrollArea{OrvQScrollAreaRow::ArrowOnChosenBar,
                                                      OrvQScrollAreaRow::Sheet1FromVerticalElements, false};
/// How the list's scroll bar elements reach its bars.
inline constexpr OrvQScrollAreaRow ListScrollArea{OrvQScrollAreaRow::ArrowIgnored, OrvQScrollAreaRow::Sheet2, false};
/// How the data grid's scroll bar elements reach its bars.
inline constexpr OrvQScrollAreaRow DataGridScrollArea{OrvQScrollAreaRow::ArrowStoredOnBothBars,
                                                      OrvQScrollAreaRow::Sheet2WithArrowSize, false};
/// How the tree view's scroll bar elements reach its bars.
inline constexpr OrvQScrollAreaRow TreeViewScrollArea{OrvQScrollAreaRow::ArrowStoredOnly,
                                                      OrvQScrollAreaRow::Sheet3Kept, false};
/// How the scroll view's scroll bar elements reach its bars.
inline constexpr OrvQScrollAreaRow ScrollViewScrollArea{OrvQScrollAreaRow::ArrowOnChosenBar, OrvQScrollAreaRow::Sheet2,
                                                        true};
/// How the text edit's scroll bar elements reach its bars.
inline constexpr OrvQScrollAreaRow TextEditScrollArea{OrvQScrollAreaRow::ArrowIgnored, OrvQScrollAreaRow::Sheet2, false};

/// Smallest bar thickness and arrow size a description may give, in pixels.
constexpr int MinScrollBarExtent = 1;
/// Largest bar thickness and arrow size a description may give.
constexpr int MaxScrollBarExtent = 512;

/// The two skinned bars of a scroll-area control and the skinning its
/// description's scroll bar elements apply to them.
class OrvQScrollAreaSkin
{
public:
    /// Creates both bars and installs them, removes the frame and makes the
    /// background see-through.
    OrvQScrollAreaSkin(QAbstractScrollArea *area, const OrvQScrollAreaRow &row);

    /// A bar the control made; null once the host has replaced it.
    OrvQScrollBar *bar(bool horizontal) const { return horizontal ? m_horizontal.data() : m_vertical.data(); }

    /// Applies every child element whose type contains "scrollbar".
    void applyScrollBarElements(const Json::Value &element);
    /// Replaces the viewport; Qt drops the viewport's mouse tracking there.
    void setViewport(QWidget *viewport);

    /// The kept values of the rows that keep them.
    int barThickness() const { return m_barThickness; }
    /// The kept arrow size.
    int arrowSize() const { return m_arrowSize; }

    /// The keys of a scroll bar element's "attr", and its style slots.
    static OrvQControlSchema elementSchema();

    /// The style sheet that gives both bars `thickness`.
    static QString thicknessSheet1(int thickness);
    /// The style sheet of a thickness and an arrow size.
    static QString thicknessSheet2(int thickness, int arrowSize);
    /// The style sheet of a kept thickness.
    static QString thicknessSheet3(int thickness);

private:
    struct Element;
    static const OrvQKeyTable<Element> &elementKeys();
    void applyElement(const Json::Value &child);
    void setSheetOnBothBars(const QString &sheet);

    QAbstractScrollArea *m_area;
    const OrvQScrollAreaRow &m_row;
    QPointer<OrvQScrollBar> m_horizontal;
    QPointer<OrvQScrollBar> m_vertical;
    int m_barThickness = 23;
    int m_arrowSize = 23;
};

/// The corner between a scroll area's two bars, painted with the control's
/// background style.
class OrvQConerWidget : public QWidget
{
public:
    /// A corner painted with `background`, which stays owned by the control; owned by `parent`.
    OrvQConerWidget(const OrvQRectStyle *background, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const OrvQRectStyle *m_background;
};

/// Scroll areas paint their background, then Qt's content.
inline constexpr OrvQEventRoutes ScrollAreaEventRoutes = OrvQEventRoutes().withPaint(OrvQRoute::ImplThenBase);
/// The same for views whose look does not follow the mouse as a whole.
inline constexpr OrvQEventRoutes ScrollAreaPaintOnlyRoutes = PaintOnlyEventRoutes.withPaint(OrvQRoute::ImplThenBase);

/// The control template for scroll areas. Qt paints such a control only
/// through its viewport, where the Impl's paint and repaints go too.
template <class QtBase, class Impl, const OrvQScrollAreaRow &Row,
          const OrvQEventRoutes &Routes = ScrollAreaEventRoutes>
class OrvQScrollAreaControl : public OrvQControl<QtBase, Impl, Routes>
{
public:
    /// A scroll-area control owned by `parent`, its bars skinned.
    explicit OrvQScrollAreaControl(QWidget *parent = nullptr)
        : OrvQControl<QtBase, Impl, Routes>(parent)
        , m_skin(this, Row)
    {
    }

    /// The Impl's keys and slots; children may be scroll bar elements.
    static OrvQControlSchema schema()
    {
        OrvQControlSchema schema = schemaOf<Impl>();
        schema.scrollBarElements = true;
        return schema;
    }

    /// The skinning of the scroll bars; owned by the control.
    OrvQScrollAreaSkin &scrollAreaSkin() { return m_skin; }
    /// The skinned horizontal or vertical bar; null before one was set up.
    OrvQScrollBar *skinnedBar(bool horizontal) const { return m_skin.bar(horizontal); }

protected:
    OrvQScrollAreaSkin m_skin;
};

} // namespace OrvQtLib
