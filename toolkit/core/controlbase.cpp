#include "controlbase.h"

#include "controlkeys.h"
#include "describeditems.h"
#include "jsonreaders.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QTextCodec>

#include <algorithm>
#include <limits>

namespace OrvQtLib {

namespace {

// Layout arithmetic runs in 64 bits. Results are clamped to what a widget can
// take (QWIDGETSIZE_MAX a side), which also keeps x + width inside an int for
// QRect.
int clampToWidgetRange(qint64 value)
{
    return int(std::clamp<qint64>(value, -qint64(QWIDGETSIZE_MAX), QWIDGETSIZE_MAX));
}

QRect clampedRect(qint64 x, qint64 y, qint64 w, qint64 h)
{
    return QRect(clampToWidgetRange(x), clampToWidgetRange(y), clampToWidgetRange(w), clampToWidgetRange(h));
}

// The members the common attributes come from, found in one pass over the
// element instead of a map lookup each: a window loads thousands of them.
struct CommonKeys {
    const Json::Value *name = nullptr;
    const Json::Value *tooltip = nullptr;
    const Json::Value *layout = nullptr;
    const Json::Value *visibility = nullptr;
    const Json::Value *enable = nullptr;
    const Json::Value *x = nullptr;
    const Json::Value *y = nullptr;
    const Json::Value *w = nullptr;
    const Json::Value *h = nullptr;
};

CommonKeys findCommonKeys(const Json::Value &element)
{
    CommonKeys keys;
    forEachMember(element, [&keys](const char *key, size_t length, const Json::Value &member) {
        const Json::Value *value = &member;
        if (length == 1) {
            switch (*key) {
            case 'x': keys.x = value; break;
            case 'y': keys.y = value; break;
            case 'w': keys.w = value; break;
            case 'h': keys.h = value; break;
            default: break;
            }
        } else if (memberNameIs(key, length, "name")) {
            keys.name = value;
        } else if (memberNameIs(key, length, "tooltip")) {
            keys.tooltip = value;
        } else if (memberNameIs(key, length, "layout")) {
            keys.layout = value;
        } else if (memberNameIs(key, length, "visibility")) {
            keys.visibility = value;
        } else if (memberNameIs(key, length, "enable")) {
            keys.enable = value;
        }
    });
    return keys;
}

// An element's x, y, w or h: an int held to the widget range, with a report;
// anything else, numbers beyond the int range too, counts as absent. The
// layout clamps again after its arithmetic.
int readGeometry(const Json::Value &value, const char *key)
{
    if (!jsonToInt(value))
        return 0;
    return jsonToBoundedInt(value, key, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX).value_or(0);
}

int geometryOrZero(const Json::Value *value, const char *key)
{
    return value ? readGeometry(*value, key) : 0;
}

} // namespace

namespace {

std::vector<const char *> namesOf(const std::vector<OrvQKeyInfo> &table)
{
    std::vector<const char *> names;
    for (const OrvQKeyInfo &info : table)
        names.push_back(info.name);
    return names;
}

} // namespace

const std::vector<const char *> &commonElementKeys()
{
    static const std::vector<const char *> keys = namesOf(commonElementKeyTable());
    return keys;
}

const std::vector<const char *> &layoutKeys()
{
    static const std::vector<const char *> keys = namesOf(layoutKeyTable());
    return keys;
}

// ---- OrvQControlBase ---------------------------------------------------------

void OrvQControlBase::loadCommonAttributes(const Json::Value &element)
{
    // Menus read nothing: their look comes from the menu bar that owns them.
    if (element.isNull() || !m_widget || m_widget->inherits("OrvQtLib::OrvQMenu"))
        return;

    const CommonKeys keys = findCommonKeys(element);
    if (keys.name) {
        if (const auto name = jsonToUtf8(*keys.name))
            m_widget->setObjectName(*name);
    }
    if (keys.tooltip) {
        if (const auto tip = readDescribedText(*keys.tooltip))
            m_widget->setToolTip(*tip);
    }

    // Showing a widget that was never resized first sizes it to its size
    // hint, which for a text lays the text out. The layout pass replaces that
    // size for every kind that sets geometry, so the work is skipped there.
    const bool hasLayout = keys.layout && keys.layout->isObject();
    const unsigned kind = hasLayout ? readUInt(*keys.layout, "type", 0) : unsigned(LayoutFixed);
    if (kind == LayoutAnchor || kind == LayoutFill || kind == LayoutFixed)
        m_widget->setAttribute(Qt::WA_Resized);

    // A child of a window not yet shown is shown with it, polished then
    // once with its keys applied; showing it here would polish it now. One
    // put into a shown window, or not yet sized, is shown here.
    if (m_widget->isHidden() || !m_widget->testAttribute(Qt::WA_Resized))
        m_widget->setVisible(true);
    if (keys.visibility) {
        if (const auto visible = jsonToBool(*keys.visibility))
            m_widget->setVisible(*visible);
    }
    if (keys.enable) {
        if (const auto enabled = jsonToBool(*keys.enable))
            m_widget->setEnabled(*enabled);
    }

    if (hasLayout) {
        parseLayout(element);
    } else {
        m_layoutKind = LayoutFixed;
        m_params.p1 = geometryOrZero(keys.x, "x");
        m_params.p2 = geometryOrZero(keys.y, "y");
        m_params.p3 = geometryOrZero(keys.w, "w");
        m_params.p4 = geometryOrZero(keys.h, "h");
    }
}

void OrvQControlBase::parseLayout(const Json::Value &element)
{
    const Json::Value &layout = jsonObject(element, "layout");
    // A kind that does not fit an int is outside every known kind and so
    // behaves like a managed layout.
    const unsigned kind = readUInt(layout, "type", 0);
    m_layoutKind = kind > unsigned(std::numeric_limits<int>::max()) ? LayoutManaged : int(kind);

    switch (m_layoutKind) {
    case LayoutAnchor:
        m_params.p3 = 0;
        m_params.p4 = 0;
        m_params.p7 = readGeometry(jsonMember(element, "w"), "w");
        m_params.p8 = readGeometry(jsonMember(element, "h"), "h");
        if (const auto x = readInt(layout, "x"))
            m_params.p5 = *x;
        if (const auto y = readInt(layout, "y"))
            m_params.p6 = *y;
        if (const auto r = readInt(layout, "r")) {
            m_params.p7 = *r;
            m_params.p3 = 1;
        }
        if (const auto b = readInt(layout, "b")) {
            m_params.p8 = *b;
            m_params.p4 = 1;
        }
        if (const auto hor = readInt(layout, "hor"))
            m_params.p1 = *hor;
        if (const auto ver = readInt(layout, "ver"))
            m_params.p2 = *ver;
        if (const auto wType = readInt(layout, "wType"))
            m_params.p3 = *wType;
        if (const auto hType = readInt(layout, "hType"))
            m_params.p4 = *hType;
        break;
    case LayoutFill:
        m_params.p1 = readInt(layout, "x", 0);
        m_params.p2 = readInt(layout, "y", 0);
        m_params.p3 = readInt(layout, "r", 0);
        m_params.p4 = readInt(layout, "b", 0);
        break;
    case LayoutFixed:
        // A fixed layout given as "layout" takes the element's own rectangle,
        // just as an element without "layout" does.
        readElementRect(element);
        break;
    default:
        break;
    }
}

void OrvQControlBase::readElementRect(const Json::Value &element)
{
    m_params.p1 = readGeometry(jsonMember(element, "x"), "x");
    m_params.p2 = readGeometry(jsonMember(element, "y"), "y");
    m_params.p3 = readGeometry(jsonMember(element, "w"), "w");
    m_params.p4 = readGeometry(jsonMember(element, "h"), "h");
}

std::optional<QRect> OrvQControlBase::layoutRect(const QSize &parentSize) const
{
    const qint64 pw = parentSize.width();
    const qint64 ph = parentSize.height();
    const OrvQLayoutParams &p = m_params;

    switch (m_layoutKind) {
    case LayoutAnchor: {
        qint64 x0 = p.p1 == 0 ? p.p5 : 0;
        qint64 y0 = p.p2 == 0 ? p.p6 : 0;
        const qint64 w = p.p3 == 0 ? qint64(p.p7) : p.p3 == 1 ? pw - p.p7 - x0 : 0;
        const qint64 h = p.p4 == 0 ? qint64(p.p8) : p.p4 == 1 ? ph - p.p8 - y0 : 0;
        if (p.p1 == 1)
            x0 = p.p5 + (pw - w) / 2;
        else if (p.p1 == 2)
            x0 = pw - p.p5 - w;
        if (p.p2 == 1)
            y0 = p.p6 + (ph - h) / 2;
        else if (p.p2 == 2)
            y0 = ph - p.p6 - h;
        return clampedRect(x0, y0, w, h);
    }
    case LayoutFill:
        return clampedRect(p.p1, p.p2, pw - p.p3 - p.p1, ph - p.p4 - p.p2);
    case LayoutFixed:
        return clampedRect(p.p1, p.p2, p.p3, p.p4);
    default:
        return std::nullopt;
    }
}

void OrvQControlBase::applyLayout()
{
    if (!m_widget || !m_widget->parentWidget())
        return;

    // A resize handler run by the new geometry may have laid this subtree out
    // already; walking it again would make nested containers cost nodes times
    // depth.
    const quint64 passes = m_childPasses;
    applyOwnGeometry();
    if (m_childPasses != passes)
        return;

    // A copy: a child's resize handler may add or remove children.
    const QObjectList children = m_widget->children();
    for (QObject *child : children) {
        IOrvQControlBase *control = controlInterface(child);
        if (control && control->controlBase())
            control->controlBase()->applyLayout();
    }
    ++m_childPasses;
    m_childLayoutSize = m_widget->size();
}

void OrvQControlBase::applyOwnLayout()
{
    if (m_widget && m_widget->parentWidget())
        applyOwnGeometry();
}

void OrvQControlBase::applyOwnGeometry()
{
    if (const std::optional<QRect> rect = layoutRect(m_widget->parentWidget()->size()))
        setWidgetGeometry(*rect);
}

void OrvQControlBase::setWidgetGeometry(const QRect &rect)
{
    m_widget->setGeometry(rect);
    if (m_layoutKind == LayoutFixed) {
        // Qt refuses negative fixed sizes with a warning; a negative extent
        // already gives an empty widget.
        m_widget->setFixedHeight(qMax(0, rect.height()));
        m_widget->setFixedWidth(qMax(0, rect.width()));
    }
}

void OrvQControlBase::setFillLayout(int left, int top, int right, int bottom)
{
    m_layoutKind = LayoutFill;
    m_params.p1 = left;
    m_params.p2 = top;
    m_params.p3 = right;
    m_params.p4 = bottom;
}

void OrvQControlBase::setManagedLayout(int p1, int p2, int p3, int p4, int p5, int p6)
{
    m_layoutKind = LayoutManaged;
    m_params.p1 = p1;
    m_params.p2 = p2;
    m_params.p3 = p3;
    m_params.p4 = p4;
    m_params.p5 = p5;
    m_params.p6 = p6;
}

void OrvQControlBase::setFixedLayout(int x, int y, int w, int h)
{
    m_layoutKind = LayoutFixed;
    m_params.p1 = x;
    m_params.p2 = y;
    m_params.p3 = w;
    m_params.p4 = h;
    if (m_widget)
        setWidgetGeometry(clampedRect(x, y, w, h));
}

void OrvQControlBase::setAnchorLayout(const OrvQLayoutParams &params)
{
    m_layoutKind = LayoutAnchor;
    m_params = params;
}

OrvQLayoutParams *OrvQControlBase::layoutData()
{
    return m_layoutKind >= LayoutAnchor && m_layoutKind <= LayoutFixed ? &m_params : nullptr;
}

// ---- OrvQControlBaseImpl -----------------------------------------------------

OrvQControlBaseImpl::OrvQControlBaseImpl(QWidget *widget)
    : m_widget(widget)
{
}

OrvQControlBaseImpl::~OrvQControlBaseImpl() = default;

QWidget *OrvQControlBaseImpl::paintSurface() const
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(m_widget))
        return area->viewport();
    return m_widget;
}

void OrvQControlBaseImpl::paint(QWidget *, QPaintEvent *)
{
    QWidget *surface = paintSurface();
    if (!surface)
        return;
    if (!m_widget->isEnabled())
        m_state = StateDisabled;
    else if (m_state == StateDisabled)
        m_state = StateNormal;

    QPainter painter(surface);
    draw(&painter, QRect(0, 0, surface->width(), surface->height()));
}

void OrvQControlBaseImpl::draw(QPainter *, const QRect &) {}

void OrvQControlBaseImpl::loadFinished() {}

void OrvQControlBaseImpl::changeState(OrvQControlState state)
{
    m_state = state;
    if (QWidget *surface = paintSurface())
        surface->repaint();
}

void OrvQControlBaseImpl::mousePress(QMouseEvent *)
{
    changeState(StatePressed);
}

void OrvQControlBaseImpl::mouseRelease(QMouseEvent *)
{
    changeState(StateNormal);
}

void OrvQControlBaseImpl::mouseEnter(QEvent *)
{
    changeState(StateHover);
}

void OrvQControlBaseImpl::mouseLeave(QEvent *)
{
    changeState(m_widget && !m_widget->isEnabled() ? StateDisabled : StateNormal);
}

void OrvQControlBaseImpl::mouseMove(QMouseEvent *) {}

void OrvQControlBaseImpl::mouseDoubleClick(QMouseEvent *) {}

bool OrvQControlBaseImpl::loadAttributes(const Json::Value &element)
{
    if (element.isNull())
        return false;

    const Json::Value &attr = jsonObject(element, "attr");
    // Iterating an object visits its members in ascending name order.
    for (auto it = attr.begin(); it != attr.end(); ++it) {
        const Json::Value &value = *it;
        OrvQAttrValue entry;
        if (value.isBool()) {
            entry.kind = OrvQAttrValue::Bool;
            entry.value = value.asBool();
        } else if (value.isString()) {
            entry.kind = OrvQAttrValue::Text;
            entry.value = QString::fromStdString(value.asString());
        } else if (value.isInt()) {
            entry.kind = OrvQAttrValue::Int;
            entry.value = value.asInt();
        } else if (value.isUInt()) {
            entry.kind = OrvQAttrValue::UInt;
            entry.value = value.asUInt();
        } else if (value.isNumeric()) {
            entry.kind = OrvQAttrValue::Double;
            entry.value = value.asDouble();
        } else if (value.isArray() && value.size() > 0 && value[0].isString()) {
            QStringList texts;
            for (const Json::Value &item : value)
                texts.append(QString::fromStdString(jsonToString(item).value_or(std::string())));
            entry.kind = OrvQAttrValue::TextList;
            entry.value = texts;
            entry.count = int(value.size());
        } else {
            // Null, objects, empty arrays and arrays of non-text are not stored.
            continue;
        }
        const char *nameEnd = nullptr;
        const char *name = it.memberName(&nameEnd);
        m_attributes.insert(QByteArray(name, int(nameEnd - name)), entry);
    }
    return true;
}

void OrvQControlBaseImpl::rememberSkin(std::unique_ptr<OrvQSkinRecord> record)
{
    if (record)
        m_skinRecords.push_back(std::move(record));
}

void OrvQControlBaseImpl::restyle()
{
    for (const std::unique_ptr<OrvQSkinRecord> &record : m_skinRecords)
        record->reapply();
    restyled();
    if (m_widget)
        m_widget->updateGeometry();
    if (QWidget *surface = paintSurface())
        surface->update();
}

void OrvQControlBaseImpl::restyled() {}

// ---- text --------------------------------------------------------------------

QString fromGbk(const char *bytes)
{
    if (!bytes)
        return QString();
    return fromGbk(QByteArray(bytes));
}

QString fromGbk(const QByteArray &bytes)
{
    // GBK keeps ASCII as it is, and the codec sets up a converter per call.
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    static QTextCodec *const gbk = QTextCodec::codecForName("GBK");
    return gbk ? gbk->toUnicode(bytes) : QString::fromLatin1(bytes);
}

bool isValidUtf8(const char *bytes, qsizetype length)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes);
    const uchar *const end = p + (bytes ? length : 0);
    while (p < end) {
        const uchar lead = *p++;
        if (lead < 0x80)
            continue;
        int more = 0;
        uint code = 0;
        uint least = 0;
        if (lead >= 0xc2 && lead <= 0xdf) {
            more = 1, code = lead & 0x1f, least = 0x80;
        } else if (lead >= 0xe0 && lead <= 0xef) {
            more = 2, code = lead & 0x0f, least = 0x800;
        } else if (lead >= 0xf0 && lead <= 0xf4) {
            more = 3, code = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (end - p < more)
            return false;
        for (; more > 0; --more, ++p) {
            if ((*p & 0xc0) != 0x80)
                return false;
            code = (code << 6) | (*p & 0x3f);
        }
        if (code < least || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return false;
    }
    return true;
}

QString fromSkinText(const char *bytes, qsizetype length)
{
    if (!bytes || length <= 0)
        return QString();
    const int size = int(std::min<qsizetype>(length, std::numeric_limits<int>::max()));
    if (isValidUtf8(bytes, size))
        return QString::fromUtf8(bytes, size);
    return fromGbk(QByteArray::fromRawData(bytes, size));
}

QString fromSkinText(const QByteArray &bytes)
{
    return fromSkinText(bytes.constData(), bytes.size());
}

} // namespace OrvQtLib
