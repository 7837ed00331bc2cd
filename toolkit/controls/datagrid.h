#pragma once

#include "itemrows.h"
#include "scrollarea.h"

#include <QHeaderView>
#include <QTableView>

class QStandardItemModel;

namespace OrvQtLib {

class OrvQTableView;

/// Styles, fonts and the check column of a data grid.
class OrvQTableViewImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    static constexpr int PreviewRows = 100;
    static constexpr int PreviewColumns = 5;

    explicit OrvQTableViewImpl(QWidget *widget);
    ~OrvQTableViewImpl() override;

    static const OrvQKeyTable<OrvQTableViewImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQTableViewImpl> &styleSlots();
    /// The sample rows a layout tool shows: 100 rows of "item i j" under
    /// the titles "Col1" to "Col5".
    static QStandardItemModel *previewModel(QObject *parent);

    bool load(const Json::Value &element);
    void loadFinished() override;
    void draw(QPainter *painter, const QRect &rect) override;

    OrvQRowStyleDelegate::Look look() const;
    const OrvQRectStyle &backgroundStyle() const { return m_backgroundStyle; }
    const OrvQRectStyle &headerStyle() const { return m_headerStyles[0]; }
    const OrvQFontStyle &headerFont() const { return m_headerFonts[0]; }
    OrvQCheckColumn &checkColumn() { return m_checkColumn; }
    const OrvQCheckColumn &checkColumn() const { return m_checkColumn; }
    bool headerChecked() const { return m_headerChecked; }
    void setHeaderChecked(bool checked) { m_headerChecked = checked; }

private:
    OrvQTableView *grid() const;

    OrvQRectStyle m_backgroundStyle;
    /// [0] normal, [1] hover, [2] selected; [3] is kept but never drawn.
    OrvQStateFontStyles m_itemFonts;
    OrvQStateRectStyles m_itemStyles;
    /// Only [0] is drawn: the header background, every section and its title.
    OrvQStateRectStyles m_headerStyles;
    OrvQStateFontStyles m_headerFonts;
    OrvQCheckColumn m_checkColumn;
    bool m_headerChecked = false;
};

/// Keeps the check column's mouse handling to the grid: Qt's own check
/// handling would toggle a user-checkable cell a second time.
class OrvQTableViewitemDelegate : public OrvQRowStyleDelegate
{
public:
    /// A row delegate with the grid's look, owned by `parent`.
    OrvQTableViewitemDelegate(const Look &look, const OrvQHoverRowTracker *hover, QObject *parent);

    /// Lets the grid alone handle clicks on check boxes.
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
};

/// A grid header painted from the skin; the horizontal one carries the
/// header check box in its first section.
class OrvQTableHeader : public QHeaderView
{
public:
    /// A header of the given orientation for `grid`, which owns it.
    OrvQTableHeader(Qt::Orientation orientation, OrvQTableViewImpl *impl, OrvQTableView *grid);

    /// The header check box in viewport coordinates; empty when there is none
    /// (no check column, vertical header, or no visible first section).
    QRect checkBoxRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRect sectionRect(int logical) const;

    OrvQTableViewImpl *m_impl;
    QPointer<OrvQTableView> m_grid;
};

/// A skinned data grid: header, rows and an optional check box column, from
/// skin styles; the host gives it a model.
class OrvQTableView
    : public OrvQScrollAreaControl<QTableView, OrvQTableViewImpl, DataGridScrollArea, ScrollAreaPaintOnlyRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
    /// Whether the header's check box is checked.
    Q_PROPERTY(bool headerChecked READ headerChecked WRITE setHeaderChecked NOTIFY headerCheckedChanged)

public:
    /// A grid with the built-in look, owned by `parent`.
    explicit OrvQTableView(QWidget *parent = nullptr);
    ~OrvQTableView() override;

    /// The type name descriptions use, "qtdatagrid".
    static QString staticTypeName() { return QStringLiteral("qtdatagrid"); }
    QString typeName() const override { return staticTypeName(); }

    /// Sets the model as QTableView does; the grid does not own it.
    void setModel(QAbstractItemModel *model) override;
    /// The skinned horizontal header; null once the host has replaced it.
    OrvQTableHeader *tableHeader() const { return m_header; }
    /// The row under the pointer; owned by the grid.
    const OrvQHoverRowTracker *hoverTracker() const { return m_hover; }
    /// Follows the background style: an opaque one lets scrolling move pixels.
    void updateOpaqueness();
    /// Whether the header's check box is checked.
    bool headerChecked() const;
    /// Sets the header's check box without a click.
    void setHeaderChecked(bool checked);

signals:
    /// The header's check box changed, by a click or setHeaderChecked().
    void headerCheckedChanged(bool check);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    /// The first-column cell whose check box is under a viewport point.
    QModelIndex checkBoxAt(const QPoint &pos) const;

    OrvQHoverRowTracker *m_hover;
    QPointer<OrvQTableViewitemDelegate> m_delegate;
    QPointer<OrvQTableHeader> m_header;
};

} // namespace OrvQtLib
