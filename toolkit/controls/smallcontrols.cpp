#include "smallcontrols.h"

#include <QPainter>

namespace OrvQtLib {

namespace {

const QString TransparentBackground = QStringLiteral("background-color: rgba(0, 0, 0, 0);");

// A record that draws nothing until a skin style replaces it.
OrvQRectStyle emptyRectStyle()
{
    OrvQRectStyle style;
    style.nonEmpty = false;
    return style;
}

} // namespace

OrvQLCDNumberImpl::OrvQLCDNumberImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
    , m_backgroundStyle(emptyRectStyle())
{
}

OrvQLCDNumberImpl::~OrvQLCDNumberImpl() = default;

const OrvQStyleSlotTable<OrvQLCDNumberImpl> &OrvQLCDNumberImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQLCDNumberImpl>;
    static const OrvQStyleSlotTable<OrvQLCDNumberImpl> table{
        Slot::rectSlot(0, &OrvQLCDNumberImpl::m_backgroundStyle, "background under the digits"),
    };
    return table;
}

const OrvQKeyTable<OrvQLCDNumberImpl> &OrvQLCDNumberImpl::attrKeys()
{
    using Key = OrvQKey<OrvQLCDNumberImpl>;
    using Impl = OrvQLCDNumberImpl;
    // The digit count goes before the text it shows.
    static const OrvQKeyTable<OrvQLCDNumberImpl> keys{
        Key::custom({"digitCount", OrvQKeyType::Int, {}, 0, MaxDigitCount, "number of digits"},
                    [](Impl &impl, const QVariant &count) {
                        if (auto *lcd = qobject_cast<QLCDNumber *>(impl.m_widget))
                            lcd->setDigitCount(count.toInt());
                    }),
        Key::custom({"color", OrvQKeyType::Color, {}, INT_MIN, INT_MAX, "digit colour"},
                    [](Impl &impl, const QVariant &color) { impl.m_digitColor = color.value<QColor>(); }),
        // The text's bytes are taken one character each, as Latin-1.
        Key::custom({"text", OrvQKeyType::Text, {}, INT_MIN, INT_MAX, "text shown"},
                    [](Impl &impl, const QVariant &text) {
                        if (auto *lcd = qobject_cast<QLCDNumber *>(impl.m_widget))
                            lcd->display(QString::fromLatin1(text.toString().toUtf8()));
                    }),
    };
    return keys;
}

bool OrvQLCDNumberImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    // Once here rather than on every paint: setting a palette schedules
    // another paint.
    setDigitColor(m_digitColor);
    return true;
}

void OrvQLCDNumberImpl::setDigitColor(const QColor &color)
{
    m_digitColor = color;
    if (!m_widget)
        return;
    QPalette palette = m_widget->palette();
    palette.setBrush(QPalette::WindowText, QBrush(color.isValid() ? color : QColor(Qt::black)));
    m_widget->setPalette(palette);
}

void OrvQLCDNumberImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_backgroundStyle, rect);
}

OrvQLCDNumber::OrvQLCDNumber(QWidget *parent)
    : OrvQControl(parent)
{
    setFrameStyle(QFrame::NoFrame);
    setStyleSheet(TransparentBackground);
}

OrvQLCDNumber::~OrvQLCDNumber() = default;

QColor OrvQLCDNumber::digitColor() const
{
    return m_impl->digitColor();
}

void OrvQLCDNumber::setDigitColor(const QColor &color)
{
    notifyOnChange(this, &OrvQLCDNumber::digitColor, [&] { m_impl->setDigitColor(color); },
                   &OrvQLCDNumber::digitColorChanged);
}

bool OrvQLCDNumber::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

OrvQSpinBoxImpl::OrvQSpinBoxImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQSpinBoxImpl::~OrvQSpinBoxImpl() = default;

OrvQSpinBox::OrvQSpinBox(QWidget *parent)
    : OrvQControl(parent)
{
    setFrame(false);
    setStyleSheet(TransparentBackground);
}

OrvQSpinBox::~OrvQSpinBox() = default;

OrvQCanvasImpl::OrvQCanvasImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQCanvasImpl::~OrvQCanvasImpl() = default;

OrvQCanvas::OrvQCanvas(QWidget *parent)
    : OrvQControl(parent)
{
}

OrvQCanvas::~OrvQCanvas() = default;

OrvQSplitterImpl::OrvQSplitterImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
    , m_barStyle(emptyRectStyle())
{
}

OrvQSplitterImpl::~OrvQSplitterImpl() = default;

const OrvQStyleSlotTable<OrvQSplitterImpl> &OrvQSplitterImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQSplitterImpl>;
    static const OrvQStyleSlotTable<OrvQSplitterImpl> table{
        Slot::rectSlot(0, &OrvQSplitterImpl::m_barStyle, "bar"),
    };
    return table;
}

bool OrvQSplitterImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    return true;
}

void OrvQSplitterImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_barStyle, rect);
}

OrvQSplitter::OrvQSplitter(QWidget *parent)
    : OrvQControl(parent)
{
}

OrvQSplitter::~OrvQSplitter() = default;

bool OrvQSplitter::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

} // namespace OrvQtLib
