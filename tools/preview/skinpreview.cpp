#include "skinpreview.h"

#include "controlregistry.h"
#include "jsonreaders.h"
#include "listview.h"
#include "menubar.h"
#include "resourcemanager.h"
#include "skinchecker.h"
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

} // namespace

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

namespace {

bool takePreviewOption(const QString &option, QStringList &args, PreviewRequest *request)
{
    if (args.isEmpty())
        return false;
    if (option == QLatin1String("--size")) {
        request->size = parseSizeOption(args.takeFirst());
        return request->size.isValid();
    }
    if (option == QLatin1String("--state")) {
        std::pair<QString, OrvQControlState> state;
        if (!parseStateOption(args.takeFirst(), &state))
            return false;
        request->states.push_back(state);
        return true;
    }
    if (option == QLatin1String("--check")) {
        request->checked.append(args.takeFirst());
        return true;
    }
    if (option == QLatin1String("--scale")) {
        request->scale = parseScaleOption(args.takeFirst());
        return request->scale > 0;
    }
    return false;
}

} // namespace

bool parsePreviewArguments(QStringList args, PreviewRequest *request, QString *output)
{
    QStringList positional;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("-o") && output && !args.isEmpty()) {
            *output = args.takeFirst();
        } else if (arg.startsWith(QLatin1Char('-'))) {
            if (!takePreviewOption(arg, args, request))
                return false;
        } else {
            positional.append(arg);
        }
    }
    if (positional.size() != 2)
        return false;
    request->package = positional[0];
    request->description = positional[1];
    return true;
}

QSize previewSize(const PreviewRequest &request)
{
    return request.size.isValid() ? request.size : describedSize(request.description);
}

bool applyPreviewStates(QWidget *window, const PreviewRequest &request, QString *error)
{
    for (const QString &name : request.checked) {
        auto *button = window->findChild<QAbstractButton *>(name);
        if (!button || !controlInterface(button) || !button->isCheckable()) {
            *error = QStringLiteral("%1: no check box or radio button named \"%2\"").arg(request.description, name);
            return false;
        }
        button->setChecked(true);
    }

    for (const auto &wanted : request.states) {
        QWidget *control = window->findChild<QWidget *>(wanted.first);
        IOrvQControlBase *face = controlInterface(control);
        if (!face || !face->impl()) {
            *error = QStringLiteral("%1: no control named \"%2\"").arg(request.description, wanted.first);
            return false;
        }
        if (wanted.second == StateDisabled)
            control->setEnabled(false);
        else
            face->impl()->setState(wanted.second);
    }
    return true;
}

QImage renderPreview(const PreviewRequest &request, QString *error, bool *unreadablePackage)
{
    setPreviewMode(true);
    initialize();
    // Said as orvq-check says it: what is wrong with the package comes before
    // what is missing from it.
    OrvQPackage package = readPackage(request.package);
    if (!package.opened) {
        *error = QStringLiteral("%1: %2").arg(request.package, package.error);
        if (unreadablePackage)
            *unreadablePackage = true;
        return QImage();
    }
    const QString folder = packageFolderPrefix(package);
    // False also for a package without styles, which still previews.
    OrvQResourceManager::instance().addPackage(std::move(package));

    const QSize size = previewSize(request);
    if (!size.isValid()) {
        *error = folder.isEmpty()
            ? QStringLiteral("%1: no such description, or it does not parse").arg(request.description)
            : QStringLiteral("%1: every member is inside the folder \"%2\", so no lookup finds them: zip the "
                             "folder's contents, not the folder").arg(request.package, folder);
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
    if (!applyPreviewStates(&window, request, error))
        return QImage();
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
