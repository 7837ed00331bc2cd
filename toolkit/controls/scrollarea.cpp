#include "scrollarea.h"

#include "jsonreaders.h"

#include <QFrame>
#include <QPainter>

#include <optional>

namespace OrvQtLib {

namespace {

// See-through without a style sheet: a sheet anywhere above a widget puts
// its whole subtree (bars, headers, a list's template controls) under Qt's
// style-sheet style, which paints rows about twice as slowly.
void makeSeeThrough(QAbstractScrollArea *area)
{
    area->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
}

} // namespace

// What one scroll bar element applies, gathered by its key table.
struct OrvQScrollAreaSkin::Element {
    bool horizontal = false;
    std::optional<QString> upIcon;
    std::optional<QString> downIcon;
    std::optional<QString> thumbIcon;
    std::optional<int> arrowSize;
};

const OrvQKeyTable<OrvQScrollAreaSkin::Element> &OrvQScrollAreaSkin::elementKeys()
{
    using Key = OrvQKey<Element>;
    const auto icon = [](const char *name, std::optional<QString> Element::*field, const char *effect) {
        return imageKey(Key::custom({name, OrvQKeyType::Text, {}, 0, 0, effect},
                                    [field](Element &e, const QVariant &v) { e.*field = v.toString(); }));
    };
    static const OrvQKeyTable<Element> keys{
        Key::flag("hor", &Element::horizontal, false, "true: skins the horizontal bar, else the vertical one"),
        icon("upicon", &Element::upIcon, "icon of the up or left arrow"),
        icon("downicon", &Element::downIcon, "icon of the down or right arrow"),
        icon("thumbicon", &Element::thumbIcon, "icon on the thumb"),
        Key::custom({"size", OrvQKeyType::Int, {}, MinScrollBarExtent, MaxScrollBarExtent, "arrow button length"},
                    [](Element &e, const QVariant &v) { e.arrowSize = v.toInt(); }),
    };
    return keys;
}

OrvQControlSchema OrvQScrollAreaSkin::elementSchema()
{
    OrvQControlSchema schema;
    schema.keys = keyInfoOf(elementKeys());
    schema.styleSlots = slotInfoOf(OrvQScrollBarImpl::elementStyleSlots());
    schema.elementKeys = {
        {"w", OrvQKeyType::Int, {}, MinScrollBarExtent, MaxScrollBarExtent, "thickness of the vertical bar"},
        {"h", OrvQKeyType::Int, {}, MinScrollBarExtent, MaxScrollBarExtent, "thickness of the horizontal bar"},
    };
    return schema;
}

bool OrvQScrollAreaSkin::isScrollBarElement(const Json::Value &child)
{
    const Json::Value &type = jsonMember(child, "type");
    return type.isString() && jsonToUtf8(type)->contains(QLatin1String("scrollbar"));
}

OrvQScrollAreaSkin::OrvQScrollAreaSkin(QAbstractScrollArea *area, const OrvQScrollAreaRow &row)
    : m_area(area)
    , m_row(row)
{
    m_horizontal = new OrvQScrollBar(Qt::Horizontal, area);
    m_vertical = new OrvQScrollBar(Qt::Vertical, area);
    if (row.horizontalBarFirst) {
        area->setHorizontalScrollBar(m_horizontal);
        area->setVerticalScrollBar(m_vertical);
    } else {
        area->setVerticalScrollBar(m_vertical);
        area->setHorizontalScrollBar(m_horizontal);
    }
    area->setFrameStyle(QFrame::NoFrame);
    makeSeeThrough(area);
    area->viewport()->setMouseTracking(true);
}

void OrvQScrollAreaSkin::setViewport(QWidget *viewport)
{
    m_area->setViewport(viewport);
    makeSeeThrough(m_area);
    m_area->viewport()->setMouseTracking(true);
}

QString OrvQScrollAreaSkin::thicknessSheet1(int thickness)
{
    return QStringLiteral("QScrollBar::vertical{ width:%1; } QScrollBar::horizontal{ height:%2; }")
        .arg(thickness)
        .arg(thickness);
}

QString OrvQScrollAreaSkin::thicknessSheet2(int thickness, int arrowSize)
{
    return QStringLiteral("QScrollBar::vertical{ width:%1; } QScrollBar::horizontal{ height:%2; } "
                          "QScrollBar::add-line:vertical{ width:%3px;width:%3px; subcontrol-origin: margin;} "
                          "QScrollBar::sub-line:vertical{ width:%3px;width:%3px;subcontrol-origin: margin; }")
        .arg(thickness)
        .arg(thickness)
        .arg(arrowSize);
}

QString OrvQScrollAreaSkin::thicknessSheet3(int thickness)
{
    return QStringLiteral("QScrollBar::vertical{ width:%1; } QScrollBar::horizontal{ height:%2; } ")
        .arg(thickness)
        .arg(thickness);
}

void OrvQScrollAreaSkin::setSheetOnBothBars(const QString &sheet)
{
    for (OrvQScrollBar *bar : {bar(false), bar(true)}) {
        if (bar)
            bar->setStyleSheet(sheet);
    }
}

void OrvQScrollAreaSkin::applyScrollBarElements(const Json::Value &element)
{
    for (const Json::Value &child : jsonArray(element, "child")) {
        if (isScrollBarElement(child))
            applyElement(child);
    }
}

void OrvQScrollAreaSkin::applyElement(const Json::Value &child)
{
    Element e;
    applyKeys(jsonObject(child, "attr"), elementKeys(), e);
    OrvQScrollBar *chosen = bar(e.horizontal);

    if (chosen) {
        if (e.upIcon)
            chosen->setArrowIcon(true, *e.upIcon);
        if (e.downIcon)
            chosen->setArrowIcon(false, *e.downIcon);
        if (e.thumbIcon)
            chosen->setThumbIcon(*e.thumbIcon);
    }

    if (e.arrowSize) {
        switch (m_row.arrowSize) {
        case OrvQScrollAreaRow::ArrowOnChosenBar:
            if (chosen)
                chosen->setArrowLength(*e.arrowSize);
            break;
        case OrvQScrollAreaRow::ArrowStoredOnBothBars:
            m_arrowSize = *e.arrowSize;
            for (OrvQScrollBar *each : {bar(false), bar(true)}) {
                if (each)
                    each->setArrowLength(m_arrowSize);
            }
            break;
        case OrvQScrollAreaRow::ArrowStoredOnly:
            m_arrowSize = *e.arrowSize;
            break;
        case OrvQScrollAreaRow::ArrowIgnored:
            break;
        }
    }

    // The thickness comes from the element's own key for its bar; an element
    // without it (one that only sets icons, say) leaves the bars as they are.
    if (const std::optional<int> thickness =
            readBoundedInt(child, e.horizontal ? "h" : "w", MinScrollBarExtent, MaxScrollBarExtent)) {
        switch (m_row.thickness) {
        case OrvQScrollAreaRow::Sheet1FromVerticalElements:
            if (!e.horizontal)
                setSheetOnBothBars(thicknessSheet1(*thickness));
            break;
        case OrvQScrollAreaRow::Sheet2:
            setSheetOnBothBars(thicknessSheet2(*thickness, *thickness));
            break;
        case OrvQScrollAreaRow::Sheet2WithArrowSize:
            m_barThickness = *thickness;
            setSheetOnBothBars(thicknessSheet2(m_barThickness, m_arrowSize));
            break;
        case OrvQScrollAreaRow::Sheet3Kept:
            m_barThickness = *thickness;
            setSheetOnBothBars(thicknessSheet3(m_barThickness));
            break;
        }
    }

    if (chosen && chosen->impl())
        applyStyleSlots(child, OrvQScrollBarImpl::elementStyleSlots(), *chosen->impl());
    if (chosen)
        chosen->update();
}

OrvQConerWidget::OrvQConerWidget(const OrvQRectStyle *background, QWidget *parent)
    : QWidget(parent)
    , m_background(background)
{
}

void OrvQConerWidget::paintEvent(QPaintEvent *)
{
    if (!m_background)
        return;
    QPainter painter(this);
    OrvQControlBaseImpl::drawBackground(&painter, *m_background, rect());
}

} // namespace OrvQtLib
