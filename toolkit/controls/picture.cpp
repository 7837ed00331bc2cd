#include "picture.h"

#include "resourcemanager.h"

#include <QPainter>

namespace OrvQtLib {

OrvQImageImpl::OrvQImageImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQImageImpl::~OrvQImageImpl() = default;

const OrvQKeyTable<OrvQImageImpl> &OrvQImageImpl::attrKeys()
{
    using Key = OrvQKey<OrvQImageImpl>;
    static const OrvQKeyTable<OrvQImageImpl> keys{
        Key::image("path", &OrvQImageImpl::m_path, QString(), "image name in the skin"),
        Key::flag("fill", &OrvQImageImpl::m_fill, true, "stretch over the widget (true) or natural size, centred"),
    };
    return keys;
}

bool OrvQImageImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyAttrKeys(element, attrKeys(), *this);
    return true;
}

void OrvQImageImpl::paint(QWidget *, QPaintEvent *)
{
    if (!m_widget)
        return;
    QPainter painter(m_widget);
    draw(&painter, QRect(0, 0, m_widget->width(), m_widget->height()));
}

QRect OrvQImageImpl::targetRect(const QRect &rect, const QSize &widgetSize, const QSize &imageSize) const
{
    if (m_fill)
        return QRect(rect.topLeft(), widgetSize);
    // Both sides are at most QWIDGETSIZE_MAX, so the differences fit.
    const auto offset = [](int alignment, int space, int extent) {
        switch (alignment) {
        case 0: return 0;
        case 2: return space - extent;
        default: return (space - extent) / 2;
        }
    };
    return QRect(rect.left() + offset(m_horizontal, widgetSize.width(), imageSize.width()),
                 rect.top() + offset(m_vertical, widgetSize.height(), imageSize.height()), imageSize.width(),
                 imageSize.height());
}

void OrvQImageImpl::draw(QPainter *painter, const QRect &rect)
{
    if (m_path.isEmpty() || !m_widget)
        return;
    // An image that failed to decode comes back empty.
    const QImage *image = imageFor(painter, m_path);
    if (!image || image->width() <= 0 || image->height() <= 0)
        return;
    painter->drawImage(targetRect(rect, m_widget->size(), logicalSize(*image)), *image, image->rect());
}

OrvQImage::OrvQImage(QWidget *parent)
    : OrvQControl(parent)
{
}

OrvQImage::~OrvQImage() = default;

QString OrvQImage::path() const
{
    return m_impl->path();
}

void OrvQImage::setPath(const QString &path)
{
    if (path == m_impl->path())
        return;
    m_impl->setPath(path);
    update();
    emit pathChanged(path);
}

bool OrvQImage::fill() const
{
    return m_impl->fill();
}

void OrvQImage::setFill(bool fill)
{
    if (fill == m_impl->fill())
        return;
    m_impl->setFill(fill);
    update();
    emit fillChanged(fill);
}

bool OrvQImage::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

} // namespace OrvQtLib
