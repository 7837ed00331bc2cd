#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QProgressBar>

namespace OrvQtLib {

/// Skinned progress bar: a groove, a chunk over the filled part and an
/// optional percentage text. The look does not follow the visual state.
class OrvQProgressBarImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQProgressBarImpl(QWidget *widget);
    ~OrvQProgressBarImpl() override;

    static const OrvQKeyTable<OrvQProgressBarImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQProgressBarImpl> &styleSlots();

    bool load(const Json::Value &element);
    void paint(QWidget *widget, QPaintEvent *event) override;

    /// The filled part inside a bar of the given size; empty when the bar has
    /// no usable range or its value lies below the minimum.
    QRect chunkRect(const QSize &size) const;

    bool showText() const { return m_showText; }
    const OrvQRectStyle &grooveStyle() const { return m_grooveStyle; }
    const OrvQRectStyle &chunkStyle() const { return m_chunkStyle; }
    const OrvQFontStyle &textStyle() const { return m_textStyle; }

private:
    bool hasProgress() const;

    bool m_showText = false;
    OrvQFontStyle m_textStyle;
    OrvQRectStyle m_grooveStyle;
    OrvQRectStyle m_chunkStyle;
};

/// A progress bar painted from skin styles.
class OrvQProgressBar : public OrvQControl<QProgressBar, OrvQProgressBarImpl, PaintOnlyEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// A progress bar with the built-in look, owned by `parent`.
    explicit OrvQProgressBar(QWidget *parent = nullptr);
    ~OrvQProgressBar() override;

    /// The type name descriptions use, "qtprogressbar".
    static QString staticTypeName() { return QStringLiteral("qtprogressbar"); }
    QString typeName() const override { return staticTypeName(); }

protected:
    bool loadControlKeys(const Json::Value &element) override;
};

} // namespace OrvQtLib
