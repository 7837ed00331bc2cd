#include "textedit.h"

#include "jsonreaders.h"
#include "resourcemanager.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

namespace OrvQtLib {

namespace {

// Rich text may name images and style sheets; they come from the skin
// package or not at all, never from the disk or the network.
class PackageDocument : public QTextDocument
{
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        if (type != ImageResource)
            return QVariant();
        QImage image;
        if (name.scheme().isEmpty() && !name.path().isEmpty())
            image = OrvQResourceManager::instance().packageImage(name.path());
        // Qt reads the file itself when it gets no image, so a missing one
        // is a transparent pixel.
        if (image.isNull()) {
            image = QImage(1, 1, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
        }
        addResource(type, name, image);
        return image;
    }

public:
    // The document keeps the images it loaded; after a skin switch each is
    // loaded again from the new package.
    void reloadImages()
    {
        bool any = false;
        for (QTextBlock block = begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.isImageFormat()) {
                    loadResource(ImageResource, QUrl(format.toImageFormat().name()));
                    any = true;
                }
            }
        }
        if (any)
            markContentsDirty(0, characterCount());
    }
};

} // namespace

OrvQTextEditImpl::OrvQTextEditImpl(QWidget *widget)
    : OrvQTextFieldImpl(widget)
{
}

OrvQTextEditImpl::~OrvQTextEditImpl() = default;

QTextEdit *OrvQTextEditImpl::textEdit() const
{
    return qobject_cast<QTextEdit *>(m_widget);
}

const OrvQKeyTable<OrvQTextEditImpl> &OrvQTextEditImpl::attrKeys()
{
    using Key = OrvQKey<OrvQTextEditImpl>;
    using Impl = OrvQTextEditImpl;
    static const OrvQKeyTable<OrvQTextEditImpl> keys{
        Key::custom({"text", OrvQKeyType::GbkText, {}, INT_MIN, INT_MAX, "text, rich when it looks like HTML"},
                    [](Impl &impl, const QVariant &text) {
                        if (QTextEdit *edit = impl.textEdit())
                            edit->setText(text.toString());
                    }),
        Key::gbkText("tip", &Impl::m_tipText, QString(), "text drawn while the field is empty"),
        Key::number("leftMargin", &Impl::m_leftMargin, 0, 0, QWIDGETSIZE_MAX, "contents margin"),
        Key::number("rightMargin", &Impl::m_rightMargin, 0, 0, QWIDGETSIZE_MAX, "contents margin"),
        Key::number("topMargin", &Impl::m_topMargin, 0, 0, QWIDGETSIZE_MAX, "contents margin"),
        Key::number("bottomMargin", &Impl::m_bottomMargin, 0, 0, QWIDGETSIZE_MAX, "contents margin"),
    };
    return keys;
}

bool OrvQTextEditImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots<OrvQTextFieldImpl>(element, styleSlots(), *this);
    if (!jsonObject(element, "attr").isObject())
        return true;
    applyAttrKeys(element, attrKeys(), *this);
    m_marginsRead = true;
    return true;
}

void OrvQTextEditImpl::loadFinished()
{
    applyTextFont();
}

std::optional<QMargins> OrvQTextEditImpl::takeMargins()
{
    if (!m_marginsRead)
        return std::nullopt;
    m_marginsRead = false;
    return QMargins(m_leftMargin, m_topMargin, m_rightMargin, m_bottomMargin);
}

void OrvQTextEditImpl::restyled()
{
    if (QTextEdit *edit = textEdit()) {
        if (auto *document = dynamic_cast<PackageDocument *>(edit->document()))
            document->reloadImages();
    }
}

bool OrvQTextEditImpl::isEmptyText() const
{
    const QTextEdit *edit = textEdit();
    return edit && edit->document()->isEmpty();
}

OrvQTextEdit::OrvQTextEdit(QWidget *parent)
    : OrvQScrollAreaControl(parent)
{
    setDocument(new PackageDocument(this));
}

OrvQTextEdit::~OrvQTextEdit() = default;

bool OrvQTextEdit::loadControlKeys(const Json::Value &element)
{
    if (!m_impl->load(element))
        return false;
    // A scroll area lays its viewport out inside its contents margins, which
    // Qt sets on every layout pass: the margins go around the viewport.
    if (const std::optional<QMargins> margins = m_impl->takeMargins())
        setViewportMargins(*margins);
    m_skin.applyScrollBarElements(element);
    return true;
}

void OrvQTextEdit::focusInEvent(QFocusEvent *event)
{
    if (survives(this, [&] { QTextEdit::focusInEvent(event); }) && m_impl)
        m_impl->focusIn();
}

void OrvQTextEdit::focusOutEvent(QFocusEvent *event)
{
    if (survives(this, [&] { QTextEdit::focusOutEvent(event); }) && m_impl)
        m_impl->focusOut();
}

void OrvQTextEdit::paintEvent(QPaintEvent *event)
{
    // Qt delivers the viewport's paint events here; the Impl paints there.
    if (m_impl) {
        m_impl->paint(this, event);
        m_impl->applyTextFont();
    }
    QTextEdit::paintEvent(event);
}

} // namespace OrvQtLib
