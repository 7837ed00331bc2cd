#include "lineedit.h"

#include "jsonreaders.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace OrvQtLib {

OrvQLineEditImpl::OrvQLineEditImpl(QWidget *widget)
    : OrvQTextFieldImpl(widget)
{
}

OrvQLineEditImpl::~OrvQLineEditImpl() = default;

QLineEdit *OrvQLineEditImpl::lineEdit() const
{
    return qobject_cast<QLineEdit *>(m_widget);
}

const OrvQKeyTable<OrvQLineEditImpl> &OrvQLineEditImpl::attrKeys()
{
    using Key = OrvQKey<OrvQLineEditImpl>;
    using Impl = OrvQLineEditImpl;
    // Right and bottom default to left and top, so they come after them.
    const auto defaultsTo = [](const char *name, int Impl::*member, int Impl::*other, const char *effect) {
        return Key::custom({name, OrvQKeyType::Int, {}, 0, QWIDGETSIZE_MAX, effect},
                           [member, other](Impl &impl, const QVariant &value) {
                               impl.*member = value.isValid() ? value.toInt() : impl.*other;
                           },
                           true);
    };
    static const OrvQKeyTable<OrvQLineEditImpl> keys{
        Key::custom({"text", OrvQKeyType::GbkText, {}, INT_MIN, INT_MAX, "text"},
                    [](Impl &impl, const QVariant &text) {
                        if (QLineEdit *edit = impl.lineEdit())
                            edit->setText(text.toString());
                    }),
        Key::custom({"ispassord", OrvQKeyType::Bool, {}, INT_MIN, INT_MAX,
                     "true: password echo, no context menu, no copy, paste, select-all or drag"},
                    [](Impl &impl, const QVariant &on) {
                        QLineEdit *edit = impl.lineEdit();
                        if (!edit || !on.toBool())
                            return;
                        edit->setContextMenuPolicy(Qt::NoContextMenu);
                        edit->setEchoMode(QLineEdit::Password);
                        edit->setDragEnabled(false);
                    }),
        Key::gbkText("tip", &Impl::m_tipText, QString(), "text drawn while the field is empty"),
        Key::flag("shortcut", &Impl::m_shortcut, false, "true: key presses name the key combination"),
        Key::number("leftMargin", &Impl::m_leftMargin, 0, 0, QWIDGETSIZE_MAX, "text margin"),
        Key::number("topMargin", &Impl::m_topMargin, 0, 0, QWIDGETSIZE_MAX, "text margin"),
        defaultsTo("rightMargin", &Impl::m_rightMargin, &Impl::m_leftMargin, "text margin; absent: the left one"),
        defaultsTo("bottomMargin", &Impl::m_bottomMargin, &Impl::m_topMargin, "text margin; absent: the top one"),
    };
    return keys;
}

bool OrvQLineEditImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots<OrvQTextFieldImpl>(element, styleSlots(), *this);
    if (!jsonObject(element, "attr").isObject())
        return true;
    applyAttrKeys(element, attrKeys(), *this);
    if (QLineEdit *edit = lineEdit())
        edit->setTextMargins(m_leftMargin, m_topMargin, m_rightMargin, m_bottomMargin);
    return true;
}

void OrvQLineEditImpl::loadFinished()
{
    applyTextFont();
}

bool OrvQLineEditImpl::isEmptyText() const
{
    const QLineEdit *edit = lineEdit();
    return edit && edit->text().isEmpty(); // shares the text, no copy
}

std::optional<QString> OrvQLineEditImpl::capturedText(const QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Delete || key == Qt::Key_Backspace)
        return QString();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    if (key < Qt::Key_A || key > Qt::Key_Z)
        return std::nullopt;

    const Qt::KeyboardModifiers modifiers = event->modifiers();
    QString text;
    const auto add = [&text](const char *part) {
        if (!text.isEmpty())
            text += QLatin1Char('+');
        text += QLatin1String(part);
    };
    if (modifiers & Qt::ControlModifier)
        add("CTRL");
    if (modifiers & Qt::AltModifier)
        add("ALT");
    if (modifiers & Qt::ShiftModifier)
        add("SHIFT");
    const char letter[] = {char('A' + (key - Qt::Key_A)), '\0'};
    add(letter);
    return text;
}

OrvQLineEdit::OrvQLineEdit(QWidget *parent)
    : OrvQControl(parent)
{
    setFrame(false);
    connect(this, &QLineEdit::textChanged, this, [this] { m_edited = true; });
}

OrvQLineEdit::~OrvQLineEdit() = default;

bool OrvQLineEdit::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

bool OrvQLineEdit::event(QEvent *event)
{
    // Shortcuts fire before key presses: capture claims the keys it uses
    // here, and leaves every other key to the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride && m_impl && m_impl->capturesShortcuts()) {
        event->setAccepted(bool(OrvQLineEditImpl::capturedText(static_cast<QKeyEvent *>(event))));
        return true;
    }
    return OrvQControl::event(event);
}

void OrvQLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (echoMode() != QLineEdit::Normal
        && (event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Paste)
            || event->matches(QKeySequence::Copy))) {
        event->accept();
        return;
    }
    if (!m_impl || !m_impl->capturesShortcuts()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // A key capture does not use goes on to the parent: Escape closes the
    // dialog, Enter reaches its default button.
    if (const std::optional<QString> text = OrvQLineEditImpl::capturedText(event)) {
        event->accept();
        setText(*text);
    } else {
        event->ignore();
    }
}

void OrvQLineEdit::focusInEvent(QFocusEvent *event)
{
    if (survives(this, [&] { QLineEdit::focusInEvent(event); }) && m_impl)
        m_impl->focusIn();
}

void OrvQLineEdit::focusOutEvent(QFocusEvent *event)
{
    // Qt's handler emits editingFinished and then goes on with the field, so
    // a slot that deletes the field would leave Qt on freed memory. Its
    // signals are held back while it runs and sent once the look is done.
    const QString textBefore = text();
    const bool hadSelection = hasSelectedText();
    {
        const QSignalBlocker blocker(this);
        QLineEdit::focusOutEvent(event);
    }
    // Qt's own test: only after the text changed since the last time, not
    // when focus went to the field's own popup, and for acceptable input,
    // which its fixup has made so if it could.
    const bool fixedUp = text() != textBefore;
    const QWidget *popup = QApplication::activePopupWidget();
    const bool finished = (m_edited || fixedUp) && hasAcceptableInput()
        && (event->reason() != Qt::PopupFocusReason || !(popup && popup->parentWidget() == this));
    if (finished)
        m_edited = false;
    if (m_impl)
        m_impl->focusOut();
    if (fixedUp && !survives(this, [&] { emit textChanged(text()); }))
        return;
    if (hadSelection && !hasSelectedText() && !survives(this, [&] { emit selectionChanged(); }))
        return;
    if (finished)
        emit editingFinished();
}

void OrvQLineEdit::paintEvent(QPaintEvent *event)
{
    if (m_impl) {
        m_impl->paint(this, event);
        m_impl->applyTextFont();
    }
    QLineEdit::paintEvent(event);
}

} // namespace OrvQtLib
