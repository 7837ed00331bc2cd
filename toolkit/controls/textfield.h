#pragma once

#include "control.h"
#include "controlkeys.h"

namespace OrvQtLib {

/// The skin the line edit and the text edit share: a background and a text
/// font per state, and a tip text drawn while the field is empty. Focus holds
/// the pressed (focused) look through hover and leave.
class OrvQTextFieldImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQTextFieldImpl(QWidget *widget);
    ~OrvQTextFieldImpl() override;

    static const OrvQStyleSlotTable<OrvQTextFieldImpl> &styleSlots();

    void draw(QPainter *painter, const QRect &rect) override;
    void mouseEnter(QEvent *event) override;
    void mouseLeave(QEvent *event) override;
    void focusIn();
    void focusOut();

    /// Sets the widget's text colour and font from the text font of the
    /// current state; does nothing when they are already set.
    void applyTextFont();

    QString tipText() const { return m_tipText; }
    const OrvQFontStyle &textFont(int state) const { return m_textFonts[state]; }

protected:
    /// Whether the field holds no text, asked on every paint: must not copy
    /// the text.
    virtual bool isEmptyText() const = 0;

    QString m_tipText;
    OrvQFontStyle m_tipFont;
    OrvQStateRectStyles m_backgrounds;
    OrvQStateFontStyles m_textFonts;

private:
    /// What applyTextFont last set.
    bool m_applied = false;
    QColor m_appliedColor;
    int m_appliedSize = 0;
    QString m_appliedFamily;
};

/// The mouse reaches the Qt field alone, but for enter and leave, which move
/// the look; painting is the control's own (background, text font, field).
inline constexpr OrvQEventRoutes TextFieldEventRoutes = PaintOnlyEventRoutes.withEnter(OrvQRoute::BaseThenImpl)
                                                            .withLeave(OrvQRoute::BaseThenImpl)
                                                            .withPaint(OrvQRoute::Nothing);

} // namespace OrvQtLib
