#include "skinpreview.h"

#include "controlregistry.h"
#include "jsonreaders.h"
#include "listview.h"
#include "menubar.h"
#include "resourcemanager.h"
#include "windowloader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardItemModel>
#include <QWidget>

#include <cmath>

namespace OrvQtLib::Tools {

namespace {

// The description's own "w" and "h", from the package or the disk as the
// loader finds it.
QSize describedSize(QString name)
{
    if (!name.contains(QLatin1String(".json")))
        name += QLatin1String(".json");
    std::shared_ptr<const Json::Value> root = OrvQResourceManager::instance().jsonDocument(name);
    if (!root) {
        QFile file(name);
        if (!QFileInfo(name).isFile() || file.size() > MaxDescriptionBytes || !file.open(QIODevice::ReadOnly))
            return QSize();
        const QByteArray bytes = file.readAll();
        auto parsed = std::make_shared<Json::Value>();
        if (!parseJsonDocument(bytes.constData(), size_t(bytes.size()), *parsed))
            return QSize();
        root = std::move(parsed);
    }
    const std::optional<int> w = readBoundedInt(*root, "w", 1, MaxPreviewSide);
    const std::optional<int> h = readBoundedInt(*root, "h", 1, MaxPreviewSide);
    return QSize(w.value_or(DefaultPreviewSize.width()), h.value_or(DefaultPreviewSize.height()));
}

// What a host adds in code and a designer still wants to see.
void addSampleContent(QWidget *window)
{
    for (OrvQListView *list : window->findChildren<OrvQListView *>()) {
        if (!list->model())
            list->setModel(new QStandardItemModel(SampleListRows, 1, list));
    }
    for (OrvQMenuBar *bar : window->findChildren<OrvQMenuBar *>()) {
        if (bar->actions().isEmpty()) {
            for (const char *title : {"File", "View", "Help"})
                bar->addMenu(QString::fromLatin1(title));
        }
    }
}

} // namespace

bool parseStateOption(const QString &text, std::pair<QString, OrvQControlState> *out)
{
    const int equals = text.lastIndexOf(QLatin1Char('='));
    if (equals <= 0)
        return false;
    const QString state = text.mid(equals + 1);
    if (state == QLatin1String("hover"))
        out->second = StateHover;
    else if (state == QLatin1String("pressed"))
        out->second = StatePressed;
    else if (state == QLatin1String("disabled"))
        out->second = StateDisabled;
    else
        return false;
    out->first = text.left(equals);
    return true;
}

QSize parseSizeOption(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return QSize();
    bool wide = false;
    bool high = false;
    const int w = parts[0].toInt(&wide);
    const int h = parts[1].toInt(&high);
    if (!wide || !high || w < 1 || h < 1 || w > MaxPreviewSide || h > MaxPreviewSide)
        return QSize();
    return QSize(w, h);
}

qreal parseScaleOption(const QString &text)
{
    bool ok = false;
    const double scale = text.toDouble(&ok);
    return ok && scale >= MinPreviewScale && scale <= MaxPreviewScale ? scale : 0;
}

QImage renderPreview(const PreviewRequest &request, QString *error)
{
    setPreviewMode(true);
    initialize();
    if (!QFileInfo(request.package).isFile()) {
        *error = QStringLiteral("%1: no such package").arg(request.package);
        return QImage();
    }
    // False also for a package without styles, which still previews.
    loadSkinPackage(request.package);

    const QSize size = request.size.isValid() ? request.size : describedSize(request.description);
    if (!size.isValid()) {
        *error = QStringLiteral("%1: no such description, or it does not parse").arg(request.description);
        return QImage();
    }
    const qreal scale = request.scale > 0 ? request.scale : 1;
    if (size.width() * scale > MaxPreviewSide || size.height() * scale > MaxPreviewSide) {
        *error = QStringLiteral("%1 x %2 at scale %3 is larger than %4 pixels on a side")
                     .arg(size.width()).arg(size.height()).arg(scale).arg(MaxPreviewSide);
        return QImage();
    }
    QWidget window;
    window.resize(size);
    if (!loadWindowLayout(&window, request.description)) {
        *error = QStringLiteral("%1: builds no control").arg(request.description);
        return QImage();
    }
    addSampleContent(&window);
    window.show();
    QCoreApplication::processEvents();

    for (const QString &name : request.checked) {
        auto *button = window.findChild<QAbstractButton *>(name);
        if (!button || !controlInterface(button) || !button->isCheckable()) {
            *error = QStringLiteral("%1: no check box or radio button named \"%2\"").arg(request.description, name);
            return QImage();
        }
        button->setChecked(true);
    }

    for (const auto &wanted : request.states) {
        QWidget *control = window.findChild<QWidget *>(wanted.first);
        IOrvQControlBase *face = controlInterface(control);
        if (!face || !face->impl()) {
            *error = QStringLiteral("%1: no control named \"%2\"").arg(request.description, wanted.first);
            return QImage();
        }
        if (wanted.second == StateDisabled)
            control->setEnabled(false);
        else
            face->impl()->setState(wanted.second);
    }
    if (qFuzzyCompare(window.devicePixelRatioF(), scale))
        return window.grab().toImage();
    QImage image(int(std::ceil(size.width() * scale)), int(std::ceil(size.height() * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    window.render(&image);
    return image;
}

} // namespace OrvQtLib::Tools
