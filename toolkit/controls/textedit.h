#pragma once

#include "scrollarea.h"
#include "textfield.h"

#include <QMargins>
#include <QTextEdit>

#include <optional>

namespace OrvQtLib {

/// The skinned multi-line field: the line edit's skin on a QTextEdit, with
/// skinned scroll bars.
class OrvQTextEditImpl : public OrvQTextFieldImpl
{
    Q_OBJECT

public:
    explicit OrvQTextEditImpl(QWidget *widget);
    ~OrvQTextEditImpl() override;

    static const OrvQKeyTable<OrvQTextEditImpl> &attrKeys();

    bool load(const Json::Value &element);
    void loadFinished() override;
    /// The margins of the last load that had "attr", once.
    std::optional<QMargins> takeMargins();

protected:
    bool isEmptyText() const override;

private:
    QTextEdit *textEdit() const;

    int m_leftMargin = 0;
    int m_topMargin = 0;
    int m_rightMargin = 0;
    int m_bottomMargin = 0;
    bool m_marginsRead = false;
};

/// A skinned text edit with a tip drawn while it is empty.
class OrvQTextEdit : public OrvQScrollAreaControl<QTextEdit, OrvQTextEditImpl, TextEditScrollArea, TextFieldEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// An empty text edit, owned by `parent`.
    explicit OrvQTextEdit(QWidget *parent = nullptr);
    ~OrvQTextEdit() override;

    /// The type name descriptions use, "qttext".
    static QString staticTypeName() { return QStringLiteral("qttext"); }
    QString typeName() const override { return staticTypeName(); }
    using QTextEdit::viewportMargins;

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace OrvQtLib
