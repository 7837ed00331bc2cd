#include "groupbox.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace OrvQtLib {

OrvQGroupBoxImpl::OrvQGroupBoxImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQGroupBoxImpl::~OrvQGroupBoxImpl() = default;

const OrvQStyleSlotTable<OrvQGroupBoxImpl> &OrvQGroupBoxImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQGroupBoxImpl>;
    static const OrvQStyleSlotTable<OrvQGroupBoxImpl> table{
        Slot::fontSlot(2, &OrvQGroupBoxImpl::m_titleStyle, "title"),
    };
    return table;
}

const OrvQKeyTable<OrvQGroupBoxImpl> &OrvQGroupBoxImpl::attrKeys()
{
    using Key = OrvQKey<OrvQGroupBoxImpl>;
    using Impl = OrvQGroupBoxImpl;
    // "text" comes first: the other keys are read only when it is there.
    static const OrvQKeyTable<OrvQGroupBoxImpl> keys{
        Key::gbkText("text", &Impl::m_title, std::nullopt, "title; the other keys need it"),
        Key::number("size", &Impl::m_bottomInset, std::nullopt, 0, QWIDGETSIZE_MAX,
                    "bottom line, pixels above the bottom edge"),
        Key::custom({"color", OrvQKeyType::Color, {}, INT_MIN, INT_MAX, "line colour"},
                    [](Impl &impl, const QVariant &color) { impl.m_lineColor = color.value<QColor>(); }),
        Key::flag("showText", &Impl::m_showText, std::nullopt, "draw the title"),
    };
    return keys;
}

bool OrvQGroupBoxImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    const Json::Value &attr = jsonObject(element, "attr");
    const OrvQKeyTable<OrvQGroupBoxImpl> &keys = attrKeys();
    if (attr.isObject() && readKeyValue(attr, keys.front().info))
        applyKeys(attr, keys, *this);
    return true;
}

QSize OrvQGroupBoxImpl::titleSize() const
{
    const QSize size = textSize(m_titleStyle, m_title);
    return QSize(m_showText ? size.width() : 0, size.height());
}

QRect OrvQGroupBoxImpl::titleRect(const QRect &rect) const
{
    const QSize title = titleSize();
    const int width = int(std::clamp<qint64>(qint64(title.width()) + rect.left() + 5, 0, rect.width()));
    const int height = int(std::clamp<qint64>(qint64(title.height()) + rect.top(), 0, rect.height()));
    return QRect(rect.left() + 7, rect.top(), width, height);
}

void OrvQGroupBoxImpl::draw(QPainter *painter, const QRect &rect)
{
    const QSize title = titleSize();
    const int left = rect.left();
    const int right = rect.right();
    const int y0 = rect.top() + title.height() / 2;
    const int bottom = int(qint64(rect.top()) + rect.height() - m_bottomInset);
    // The top edge leaves a gap for the title from left + 5 to left + tw + 9.
    const int gapEnd = int(std::min<qint64>(qint64(left) + title.width() + 9, QWIDGETSIZE_MAX));

    painter->setPen(QPen(m_lineColor, 0));
    const QPolygon line{QVector<QPoint>{{left + 5, y0}, {left, y0}, {left, bottom}, {right - 1, bottom},
                                        {right - 1, y0}, {gapEnd, y0}}};
    painter->drawPolyline(line);

    if (m_showText)
        drawStyledText(painter, m_title, m_titleStyle, titleRect(rect));
}

OrvQGroupBox::OrvQGroupBox(QWidget *parent)
    : OrvQControl(parent)
{
}

OrvQGroupBox::~OrvQGroupBox() = default;

bool OrvQGroupBox::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

} // namespace OrvQtLib
