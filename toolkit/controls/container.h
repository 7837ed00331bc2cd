#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QWidget>

class QResizeEvent;

namespace OrvQtLib {

/// Background styles and the child arrangement of a container.
class OrvQContainerImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    enum ChildLayout {
        ChildRow = 0,
        ChildColumn = 1,
        ChildWrapRows = 2,
        ChildWrapColumns = 3,
        ChildNone = 4,
    };

    explicit OrvQContainerImpl(QWidget *widget);
    ~OrvQContainerImpl() override;

    static const OrvQKeyTable<OrvQContainerImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQContainerImpl> &styleSlots();
    /// Without a style in slot 0 it paints grey.
    static std::vector<OrvQTrap> traps();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;
    void restyled() override;

    /// Writes the arranged positions into the children's layouts; true when
    /// the mode arranges anything.
    bool arrangeChildren();

    const OrvQRectStyle &normalStyle() const { return m_normalStyle; }
    const OrvQRectStyle &disabledStyle() const { return m_disabledStyle; }
    void setNormalStyle(const OrvQRectStyle &style);
    int childLayout() const { return m_childLayout; }
    int space() const { return m_space; }

private:
    void updateOpaque();

    OrvQRectStyle m_normalStyle;
    OrvQRectStyle m_disabledStyle;
    int m_childLayout = ChildNone;
    int m_space = 0;
};

/// A plain widget that paints a background and holds child controls. Filled
/// edge to edge in opaque colour (square corners, no translucency), it is
/// marked Qt::WA_OpaquePaintEvent: Qt then paints nothing beneath it, and an
/// update() of its parent alone does not repaint it.
class OrvQContainer : public OrvQControl<QWidget, OrvQContainerImpl, PaintOnlyEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// A container with no background, owned by `parent`.
    explicit OrvQContainer(QWidget *parent = nullptr);
    ~OrvQContainer() override;

    /// The type name descriptions use, "qtcontainer".
    static QString staticTypeName() { return QStringLiteral("qtcontainer"); }
    QString typeName() const override { return staticTypeName(); }

    /// Lays the container out inside its parent, and its subtree.
    void updateLayout();
    /// Replaces the background style and repaints.
    void setNormalStyle(const OrvQRectStyle &style);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool m_inResize = false;
};

} // namespace OrvQtLib
