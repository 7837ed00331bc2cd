#pragma once

#include "textfield.h"

#include <QLineEdit>

class QKeyEvent;

namespace OrvQtLib {

/// The skinned single-line field, with a password mode and a shortcut
/// capture mode in which a key combination names itself (CTRL+SHIFT+A, F5).
class OrvQLineEditImpl : public OrvQTextFieldImpl
{
    Q_OBJECT

public:
    explicit OrvQLineEditImpl(QWidget *widget);
    ~OrvQLineEditImpl() override;

    static const OrvQKeyTable<OrvQLineEditImpl> &attrKeys();

    bool load(const Json::Value &element);
    void loadFinished() override;

    bool capturesShortcuts() const { return m_shortcut; }
    void setCapturesShortcuts(bool on) { m_shortcut = on; }
    /// The text capture gives a key press, or nullopt for a key it does not
    /// use. Backspace and Delete give an empty text.
    static std::optional<QString> capturedText(const QKeyEvent *event);

protected:
    bool isEmptyText() const override;

private:
    QLineEdit *lineEdit() const;

    bool m_shortcut = false;
    int m_leftMargin = 0;
    int m_topMargin = 0;
    int m_rightMargin = 0;
    int m_bottomMargin = 0;
};

/// A skinned line edit with a tip drawn while it is empty.
class OrvQLineEdit : public OrvQControl<QLineEdit, OrvQLineEditImpl, TextFieldEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// An empty line edit, owned by `parent`.
    explicit OrvQLineEdit(QWidget *parent = nullptr);
    ~OrvQLineEdit() override;

    /// The type name descriptions use, "qtdedit".
    static QString staticTypeName() { return QStringLiteral("qtdedit"); }
    QString typeName() const override { return staticTypeName(); }

protected:
    bool loadControlKeys(const Json::Value &element) override;
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    /// Whether the text changed since editingFinished was last sent on focus out.
    bool m_edited = false;
};

} // namespace OrvQtLib
