#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QWidget>

namespace OrvQtLib {

/// One image of the skin, stretched over the widget or at its natural size in
/// the middle.
class OrvQImageImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQImageImpl(QWidget *widget);
    ~OrvQImageImpl() override;

    static const OrvQKeyTable<OrvQImageImpl> &attrKeys();

    bool load(const Json::Value &element);
    /// The picture has no visual states: it paints as it is.
    void paint(QWidget *widget, QPaintEvent *event) override;
    void draw(QPainter *painter, const QRect &rect) override;

    /// Where an image of `imageSize` goes in `rect` of a widget of `widgetSize`.
    QRect targetRect(const QRect &rect, const QSize &widgetSize, const QSize &imageSize) const;

    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }
    bool fill() const { return m_fill; }
    void setFill(bool fill) { m_fill = fill; }

private:
    bool m_fill = true;
    QString m_path;
    int m_horizontal = 1; ///< 0 left, 1 centre, 2 right; no key sets it
    int m_vertical = 1; ///< 0 top, 1 centre, 2 bottom
};

/// A picture from the skin's images.
class OrvQImage : public OrvQControl<QWidget, OrvQImageImpl, PaintOnlyEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
    /// Image name in the skin; empty for none.
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)
    /// Whether the image stretches over the widget (else natural size, centred).
    Q_PROPERTY(bool fill READ fill WRITE setFill NOTIFY fillChanged)

public:
    /// An empty picture, owned by `parent`.
    explicit OrvQImage(QWidget *parent = nullptr);
    ~OrvQImage() override;

    /// The type name descriptions use, "qtpicture".
    static QString staticTypeName() { return QStringLiteral("qtpicture"); }
    QString typeName() const override { return staticTypeName(); }

    /// The image name shown.
    QString path() const;
    /// Shows another image of the skin; an empty path shows none.
    void setPath(const QString &path);
    /// Whether the image stretches over the widget.
    bool fill() const;
    /// Stretches the image over the widget, or shows it at its size, centred.
    void setFill(bool fill);

signals:
    /// Another image is shown.
    void pathChanged(const QString &path);
    /// The fill mode changed.
    void fillChanged(bool fill);

protected:
    bool loadControlKeys(const Json::Value &element) override;
};

} // namespace OrvQtLib
