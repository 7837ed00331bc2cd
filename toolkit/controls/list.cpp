#include "list.h"

#include "describeditems.h"

namespace OrvQtLib {

OrvQListImpl::OrvQListImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQListImpl::~OrvQListImpl() = default;

const OrvQKeyTable<OrvQListImpl> &OrvQListImpl::attrKeys()
{
    using Key = OrvQKey<OrvQListImpl>;
    static const OrvQKeyTable<OrvQListImpl> keys{
        Key::custom({"multiselect", OrvQKeyType::Bool, false, INT_MIN, INT_MAX,
                     "true: extended selection; false: one row at a time"},
                    [](OrvQListImpl &impl, const QVariant &multi) {
                        if (QListWidget *list = impl.list())
                            list->setSelectionMode(multi.toBool() ? QAbstractItemView::ExtendedSelection
                                                                  : QAbstractItemView::SingleSelection);
                    }),
        Key::number("itemHeight", &OrvQListImpl::m_itemHeight, DefaultRowHeight, 0, MaxRowExtent,
                    "row height; 0 means 20"),
        Key::custom({"items", OrvQKeyType::Items, {}, INT_MIN, INT_MAX, "the rows' texts, appended in order"},
                    [](OrvQListImpl &impl, const QVariant &items) {
                        if (QListWidget *list = impl.list()) {
                            for (const OrvQDescribedItem &item : items.value<OrvQDescribedItems>().items)
                                list->addItem(item.text);
                        }
                    }),
    };
    return keys;
}

const OrvQStyleSlotTable<OrvQListImpl> &OrvQListImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQListImpl>;
    static const OrvQStyleSlotTable<OrvQListImpl> table{
        Slot::rectSlot(0, &OrvQListImpl::m_backgroundStyle, "background"),
        Slot::rectStates(2, &OrvQListImpl::m_itemStyles, -1, "row"),
        Slot::rectStates(3, &OrvQListImpl::m_itemStyles, OrvQRowStyleDelegate::RowHover, "hovered row"),
        Slot::rectStates(4, &OrvQListImpl::m_itemStyles, OrvQRowStyleDelegate::RowSelected, "selected row"),
        Slot::rectStates(5, &OrvQListImpl::m_itemStyles, 3, "unused row state"),
        Slot::fontStates(6, &OrvQListImpl::m_itemFonts, -1, "row text"),
        Slot::fontStates(7, &OrvQListImpl::m_itemFonts, OrvQRowStyleDelegate::RowHover, "hovered row text"),
        Slot::fontStates(8, &OrvQListImpl::m_itemFonts, OrvQRowStyleDelegate::RowSelected, "selected row text"),
        Slot::fontStates(9, &OrvQListImpl::m_itemFonts, 3, "unused row text state"),
    };
    return table;
}

QListWidget *OrvQListImpl::list() const
{
    return qobject_cast<QListWidget *>(m_widget);
}

bool OrvQListImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    return true;
}

void OrvQListImpl::loadFinished()
{
    // A layout tool shows sample rows where the description declares none.
    if (QListWidget *widget = list(); widget && widget->count() == 0)
        fillPreviewRows([widget](int row) { widget->insertItem(widget->count(), QStringLiteral("item %1").arg(row)); },
                        PreviewRowCount);
}

void OrvQListImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_backgroundStyle, rect);
}

OrvQRowStyleDelegate::Look OrvQListImpl::look() const
{
    OrvQRowStyleDelegate::Look look;
    look.rects = &m_itemStyles;
    look.fonts = &m_itemFonts;
    look.rowHeight = &m_itemHeight;
    look.precedence = OrvQRowStyleDelegate::HoverFirst;
    return look;
}

OrvQList::OrvQList(QWidget *parent)
    : OrvQScrollAreaControl(parent)
    , m_hover(new OrvQHoverRowTracker(this))
    , m_delegate(new OrvQRowStyleDelegate(m_impl->look(), m_hover, this))
{
    setItemDelegate(m_delegate);
    setAttribute(Qt::WA_MouseTracking);
    // Every row has the delegate's one height, so Qt need not ask each row.
    setUniformItemSizes(true);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
}

OrvQList::~OrvQList() = default;

bool OrvQList::loadControlKeys(const Json::Value &element)
{
    if (!m_impl->load(element))
        return false;
    m_skin.applyScrollBarElements(element);
    // The row height may have changed; Qt keeps the one it measured.
    scheduleDelayedItemsLayout();
    viewport()->update();
    return true;
}

} // namespace OrvQtLib
