#include "combobox.h"

#include "controlregistry.h"
#include "describeditems.h"
#include "resourcemanager.h"

#include <QFrame>
#include <QLayout>
#include <QPaintEvent>
#include <QPainter>

namespace OrvQtLib {

OrvQComboBoxImpl::OrvQComboBoxImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQComboBoxImpl::~OrvQComboBoxImpl() = default;

QComboBox *OrvQComboBoxImpl::comboBox() const
{
    return qobject_cast<QComboBox *>(m_widget);
}

const OrvQStyleSlotTable<OrvQComboBoxImpl> &OrvQComboBoxImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQComboBoxImpl>;
    using Impl = OrvQComboBoxImpl;
    static const OrvQStyleSlotTable<OrvQComboBoxImpl> table{
        Slot::rectStates(0, &Impl::m_backgrounds, -1, "background"),
        Slot::rectStates(1, &Impl::m_backgrounds, StateHover, "background"),
        Slot::rectStates(2, &Impl::m_backgrounds, StatePressed, "background"),
        Slot::rectStates(3, &Impl::m_backgrounds, StateDisabled, "background"),
        Slot::rectStates(4, &Impl::m_buttonStyles, -1, "drop-down button"),
        Slot::rectStates(5, &Impl::m_buttonStyles, StateHover, "drop-down button"),
        Slot::rectStates(6, &Impl::m_buttonStyles, StatePressed, "drop-down button"),
        Slot::rectStates(7, &Impl::m_buttonStyles, StateDisabled, "drop-down button"),
        Slot::fontStates(8, &Impl::m_textFonts, -1, "current text"),
        Slot::fontStates(9, &Impl::m_textFonts, StateHover, "current text"),
        Slot::fontStates(10, &Impl::m_textFonts, StatePressed, "current text"),
        Slot::fontStates(11, &Impl::m_textFonts, StateDisabled, "current text"),
        Slot::rectSlot(12, &Impl::m_popupBackground, "popup background"),
        Slot::rectStates(13, &Impl::m_popupItemStyles, -1, "popup row"),
        Slot::rectStates(14, &Impl::m_popupItemStyles, OrvQRowStyleDelegate::RowHover, "hovered popup row"),
        Slot::rectStates(15, &Impl::m_popupItemStyles, OrvQRowStyleDelegate::RowSelected, "selected popup row"),
        Slot::rectStates(16, &Impl::m_popupItemStyles, 3, "unused popup row state"),
        Slot::fontStates(17, &Impl::m_popupItemFonts, -1, "popup row text"),
        Slot::fontStates(18, &Impl::m_popupItemFonts, OrvQRowStyleDelegate::RowHover, "hovered popup row text"),
        Slot::fontStates(19, &Impl::m_popupItemFonts, OrvQRowStyleDelegate::RowSelected, "selected popup row text"),
        Slot::fontStates(20, &Impl::m_popupItemFonts, 3, "unused popup row text state"),
    };
    return table;
}

const OrvQKeyTable<OrvQComboBoxImpl> &OrvQComboBoxImpl::attrKeys()
{
    using Key = OrvQKey<OrvQComboBoxImpl>;
    using Impl = OrvQComboBoxImpl;
    // The hot icon comes after the icon it overrides, whatever the order of
    // the members in the description.
    static const OrvQKeyTable<OrvQComboBoxImpl> keys{
        Key::custom({"items", OrvQKeyType::Items, {}, INT_MIN, INT_MAX,
                     "the choices: texts or {\"text\", \"icon\", \"data\"} objects; the first becomes current "
                     "(no signal)"},
                    [](Impl &impl, const QVariant &items) {
                        QComboBox *combo = impl.comboBox();
                        if (!combo)
                            return;
                        const QSignalBlocker quiet(combo);
                        for (const OrvQDescribedItem &item : items.value<OrvQDescribedItems>().items) {
                            const QImage *image =
                                item.icon.isEmpty() ? nullptr : OrvQResourceManager::instance().image(item.icon);
                            combo->addItem(image ? QIcon(QPixmap::fromImage(*image)) : QIcon(), item.text, item.data);
                        }
                    }),
        Key::custom({"text", OrvQKeyType::GbkText, {}, INT_MIN, INT_MAX,
                     "adds an item and makes it current (no signal)"},
                    [](Impl &impl, const QVariant &text) {
                        if (QComboBox *combo = impl.comboBox()) {
                            const QSignalBlocker quiet(combo);
                            combo->addItem(text.toString());
                            // The item just added, even when an earlier one has the same text.
                            combo->setCurrentIndex(combo->count() - 1);
                        }
                    }),
        imageKey(Key::custom({"btnIcon", OrvQKeyType::Text, {}, INT_MIN, INT_MAX, "button icon of every state"},
                             [](Impl &impl, const QVariant &icon) { impl.m_buttonIcons.fill(icon.toString()); })),
        imageKey(Key::custom({"btnHotIcon", OrvQKeyType::Text, {}, INT_MIN, INT_MAX, "button icon while hovered"},
                             [](Impl &impl, const QVariant &icon) { impl.m_buttonIcons[StateHover] = icon.toString(); })),
        Key::custom({"current", OrvQKeyType::Int, {}, INT_MIN, INT_MAX,
                     "index of the current choice, -1 none; held to the choices (no signal)"},
                    [](Impl &impl, const QVariant &index) {
                        if (QComboBox *combo = impl.comboBox()) {
                            const QSignalBlocker quiet(combo);
                            combo->setCurrentIndex(describedCurrent(index.toInt(), combo->count(), "current"));
                        }
                    }),
    };
    return keys;
}

bool OrvQComboBoxImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    return true;
}

void OrvQComboBoxImpl::loadFinished()
{
    const QComboBox *combo = comboBox();
    if (isPreviewMode() && combo && combo->count() == 0)
        addSampleItems();
}

void OrvQComboBoxImpl::addSampleItems()
{
    QComboBox *combo = comboBox();
    if (!combo)
        return;
    combo->addItems({QStringLiteral("Item1"), QStringLiteral("Item2"), QStringLiteral("Item3")});
    combo->setCurrentIndex(0);
}

void OrvQComboBoxImpl::popupClosed()
{
    if (m_state == StatePressed)
        changeState(StateNormal);
}

QRect OrvQComboBoxImpl::buttonRect(const QRect &rect)
{
    const int side = rect.height();
    return QRect(rect.left() + rect.width() - side, rect.top(), side, side);
}

void OrvQComboBoxImpl::draw(QPainter *painter, const QRect &rect)
{
    const QComboBox *combo = comboBox();
    const int s = m_state;
    if (!combo || s < StateNormal || s > StateDisabled)
        return;
    const QRect button = buttonRect(rect);
    drawBackground(painter, m_backgrounds[s], rect);
    drawBackground(painter, m_buttonStyles[s], button);
    const QString &icon = m_buttonIcons[size_t(s)];
    if (!icon.isEmpty())
        drawImageAligned(painter, icon, OrvQImageAlign{0, 0, 1, 1}, button);

    // The text stops where the button starts.
    const QRect textRect(rect.left(), rect.top(), qMax(0, button.left() - rect.left()), rect.height());
    if (textRect.isEmpty())
        return;
    painter->save();
    painter->setClipRect(textRect, Qt::IntersectClip);
    drawStyledText(painter, combo->currentText(), m_textFonts[s], textRect.x(), textRect.y(), textRect.width(),
                   textRect.height(), true);
    painter->restore();
}

OrvQRowStyleDelegate::Look OrvQComboBoxImpl::popupLook() const
{
    OrvQRowStyleDelegate::Look look;
    look.rects = &m_popupItemStyles;
    look.fonts = &m_popupItemFonts;
    look.rowHeight = &m_popupRowHeight;
    look.precedence = OrvQRowStyleDelegate::HoverFirst;
    return look;
}

// ---- popup -------------------------------------------------------------------

OrvQComboItemDelegate::OrvQComboItemDelegate(OrvQComboBoxImpl *impl, const OrvQHoverRowTracker *hover,
                                             QObject *parent)
    : OrvQRowStyleDelegate(impl->popupLook(), hover, parent)
    , m_impl(impl)
{
}

void OrvQComboItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    // The look points into the Impl, which goes before the combo box's view.
    if (m_impl)
        OrvQRowStyleDelegate::paint(painter, option, index);
}

QSize OrvQComboItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_impl)
        return QSize(option.rect.width(), OrvQComboBoxImpl::PopupRowHeight);
    return OrvQRowStyleDelegate::sizeHint(option, index);
}

OrvQComboList::OrvQComboList(OrvQComboBoxImpl *impl)
    : m_impl(impl)
    , m_hover(new OrvQHoverRowTracker(this))
{
    setItemDelegate(new OrvQComboItemDelegate(impl, m_hover, this));
    setFrameStyle(QFrame::NoFrame);
    setUniformItemSizes(true);
    viewport()->setAutoFillBackground(false);
}

OrvQComboList::~OrvQComboList() = default;

void OrvQComboList::paintEvent(QPaintEvent *event)
{
    if (m_impl) {
        QPainter painter(viewport());
        OrvQControlBaseImpl::drawViewportBackground(&painter, m_impl->popupBackground(), viewport(),
                                                    event->region());
    }
    QListView::paintEvent(event);
}

// ---- combo box ---------------------------------------------------------------

OrvQComboBox::OrvQComboBox(QWidget *parent)
    : OrvQControl(parent)
    , m_list(new OrvQComboList(m_impl.get()))
{
    setView(m_list);
}

OrvQComboBox::~OrvQComboBox() = default;

bool OrvQComboBox::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

void OrvQComboBox::showPopup()
{
    // Qt's popup frames the view; the skinned popup is the view alone.
    if (QWidget *container = m_list ? m_list->parentWidget() : nullptr) {
        if (auto *frame = qobject_cast<QFrame *>(container))
            frame->setFrameStyle(QFrame::NoFrame);
        if (QLayout *layout = container->layout())
            layout->setContentsMargins(0, 0, 0, 0);
    }
    QComboBox::showPopup();
}

void OrvQComboBox::hidePopup()
{
    // The release of the press that opened the popup went to the popup.
    if (survives(this, [&] { QComboBox::hidePopup(); }) && m_impl)
        m_impl->popupClosed();
}

} // namespace OrvQtLib
