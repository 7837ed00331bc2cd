#include "progressbar.h"

#include "jsonreaders.h"

#include <QPainter>

namespace OrvQtLib {

OrvQProgressBarImpl::OrvQProgressBarImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQProgressBarImpl::~OrvQProgressBarImpl() = default;

const OrvQStyleSlotTable<OrvQProgressBarImpl> &OrvQProgressBarImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQProgressBarImpl>;
    static const OrvQStyleSlotTable<OrvQProgressBarImpl> table{
        Slot::rectSlot(0, &OrvQProgressBarImpl::m_grooveStyle, "groove"),
        Slot::rectSlot(2, &OrvQProgressBarImpl::m_chunkStyle, "filled part"),
        Slot::fontSlot(4, &OrvQProgressBarImpl::m_textStyle, "percentage"),
    };
    return table;
}

const OrvQKeyTable<OrvQProgressBarImpl> &OrvQProgressBarImpl::attrKeys()
{
    using Key = OrvQKey<OrvQProgressBarImpl>;
    static const OrvQKeyTable<OrvQProgressBarImpl> keys{
        Key::flag("showText", &OrvQProgressBarImpl::m_showText, std::nullopt, "draw the percentage"),
        // The range comes before the value, which QProgressBar holds to it.
        Key::custom({"min", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "lowest value of the range"},
                    [](OrvQProgressBarImpl &impl, const QVariant &minimum) {
                        if (auto *bar = qobject_cast<QProgressBar *>(impl.m_widget))
                            bar->setMinimum(minimum.toInt());
                    }),
        Key::custom({"max", OrvQKeyType::Int, {}, INT_MIN, INT_MAX,
                     "highest value of the range; a \"min\" above it moves down to it"},
                    [](OrvQProgressBarImpl &impl, const QVariant &maximum) {
                        if (auto *bar = qobject_cast<QProgressBar *>(impl.m_widget))
                            bar->setMaximum(maximum.toInt());
                    }),
        Key::custom({"val", OrvQKeyType::Int, 0, INT_MIN, INT_MAX, "value"},
                    [](OrvQProgressBarImpl &impl, const QVariant &value) {
                        if (auto *bar = qobject_cast<QProgressBar *>(impl.m_widget))
                            bar->setValue(value.toInt());
                    }),
    };
    return keys;
}

bool OrvQProgressBarImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    return true;
}

bool OrvQProgressBarImpl::hasProgress() const
{
    const auto *bar = qobject_cast<const QProgressBar *>(m_widget);
    // A bar that was never given a value sits below its minimum, and a range
    // with no width has no share to show; neither gets a chunk or a text.
    return bar && bar->maximum() > bar->minimum() && bar->value() >= bar->minimum();
}

QRect OrvQProgressBarImpl::chunkRect(const QSize &size) const
{
    if (!hasProgress())
        return {};
    const auto *bar = qobject_cast<const QProgressBar *>(m_widget);
    const bool horizontal = bar->orientation() == Qt::Horizontal;
    const int full = horizontal ? size.width() : size.height();
    if (full <= 0)
        return {};

    const int filled = filledLength(bar->value(), bar->minimum(), bar->maximum(), full);

    if (horizontal)
        return QRect(0, 0, filled, size.height());
    return QRect(0, size.height() - filled, size.width(), filled);
}

void OrvQProgressBarImpl::paint(QWidget *, QPaintEvent *)
{
    if (!m_widget)
        return;
    const auto *bar = qobject_cast<const QProgressBar *>(m_widget);
    if (!bar)
        return;

    QPainter painter(m_widget);
    const QRect groove(0, 0, m_widget->width(), m_widget->height());
    drawBackground(&painter, m_grooveStyle, groove);
    const QRect chunk = chunkRect(groove.size());
    if (!chunk.isEmpty())
        drawBackground(&painter, m_chunkStyle, chunk);
    if (m_showText && hasProgress())
        drawStyledText(&painter, QStringLiteral("%1%").arg(rangePercent(bar->value(), bar->minimum(), bar->maximum())),
                       m_textStyle, groove.x(), groove.y(),
                       groove.width(), groove.height(), true);
}

OrvQProgressBar::OrvQProgressBar(QWidget *parent)
    : OrvQControl(parent)
{
    // QProgressBar repaints on a new value only once its own painting has
    // seen the old one, which the skinned painting never lets it do.
    connect(this, &QProgressBar::valueChanged, this, [this] { update(); });
}

OrvQProgressBar::~OrvQProgressBar() = default;

bool OrvQProgressBar::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

} // namespace OrvQtLib
