#include "fuzzentries.h"

#include "controlbase.h"
#include "controlkeys.h"
#include "controlregistry.h"
#include "describeditems.h"
#include "jsonreaders.h"
#include "resourcemanager.h"
#include "skinlog.h"
#include "stylekeys.h"
#include "scrollarea.h"
#include "stylerecords.h"
#include "window.h"
#include "windowloader.h"
#include "ziparchive.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <QScopeGuard>
#include <QString>
#include <QWidget>

#include <climits>
#include <cstdio>
#include <set>
#include <vector>

namespace OrvQtLib {
namespace Fuzz {

int zipArchive(const uint8_t *data, size_t size)
{
    if (size > UINT_MAX)
        return 0;
    OrvQZipHandle zip(openZipMemory(data, unsigned(size), nullptr));
    if (!zip)
        return 0;
    OrvQZipEntry entry;
    if (zipItem(zip.get(), -1, &entry) != ZipOk)
        return 0;
    const int count = entry.index;
    std::vector<char> buffer;
    for (int i = 0; i < count; ++i) {
        if (zipItem(zip.get(), i, &entry) != ZipOk)
            continue;
        const quint32 capacity = zipMemberCapacity(entry);
        buffer.assign(capacity, 0);
        unzipItemToMemory(zip.get(), i, buffer.data(), capacity);
        // Again in pieces, through the "buffer full" path; each full piece
        // is progress, so this ends.
        unsigned offset = 0;
        const unsigned piece = 700;
        while (offset < capacity) {
            const unsigned length = std::min(piece, capacity - offset);
            if (unzipItemToMemory(zip.get(), i, buffer.data() + offset, length) != ZipErrMoreData)
                break;
            offset += length;
        }
    }
    // Backwards, and the cached last entry.
    for (int i = count - 1; i >= 0 && i >= count - 3; --i)
        zipItem(zip.get(), i, &entry);
    zipItem(zip.get(), 0, &entry);
    zipItem(zip.get(), 0, &entry);
    return 0;
}

int package(const uint8_t *data, size_t size)
{
    if (size > INT_MAX)
        return 0;
    OrvQResourceManager &manager = OrvQResourceManager::instance();
    manager.loadPackageFromMemory(reinterpret_cast<const char *>(data), int(size));
    char *bytes = nullptr;
    unsigned length = 0;
    manager.fileData(QStringLiteral("style.json"), &bytes, &length);
    OrvQRectStyle rect;
    manager.rectStyle(QStringLiteral("a"), rect);
    return 0;
}

int styles(const uint8_t *data, size_t size)
{
    Json::Value root;
    if (!parseJsonDocument(reinterpret_cast<const char *>(data), size, root))
        return 0;
    OrvQStyleTables tables;
    parseStyles(jsonMember(root, "style"), tables);
    return 0;
}

namespace {

// A description may ask for any window size; the platform would allocate a
// backing store that large, so the target never grows past this.
const QSize MaxTargetSize(1024, 768);
const QSize ShownTargetSize(640, 480);
// Controls resized or clicked per input: a description may hold 200,000.
constexpr int MaxVisitedControls = 128;
// Widget paints one input may cost. A state change repaints the control's
// whole subtree at once, and a mouse event the control ignores goes on to
// each ancestor, so a click deep in a nested tree costs depth times subtree.
constexpr int PaintBudget = 8000;
// Paints of one widget per input. Past a few, a widget repaints states it
// has already drawn: the click sequence alone goes through each state twice,
// and every ancestor repaints beneath each child that changes.
constexpr int PaintsPerWidget = 6;

// Counts the paints of one input and drops those past the budgets, so that
// the run stays short whatever the nesting.
class PaintLimiter : public QObject
{
public:
    explicit PaintLimiter(int budget) : m_left(budget) { qApp->installEventFilter(this); }
    ~PaintLimiter() override { qApp->removeEventFilter(this); }

    bool spent() const { return m_left <= 0; }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        if (m_left <= 0 || ++m_perWidget[object] > PaintsPerWidget)
            return true;
        --m_left;
        return false;
    }

private:
    int m_left;
    QHash<QObject *, int> m_perWidget;
};

// Every input is free to provoke every warning, and the offscreen platform
// warns at each show; a log line per input costs time and fills the run's
// log. Only fatal messages are written, and Qt aborts after them.
void writeFatalOnly(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// A QApplication for the fuzzer binaries, which have none. A test that made
// its own keeps it and its messages; a GUI-less application cannot host
// widgets.
bool startApplication()
{
    if (!QCoreApplication::instance()) {
        qInstallMessageHandler(writeFatalOnly);
        static int argc = 3;
        static char program[] = "orvfuzz";
        static char platformOption[] = "-platform";
        static char platform[] = "offscreen";
        static char *argv[] = {program, platformOption, platform, nullptr};
        // Never destroyed: the toolkit's statics expect the application to
        // go before them, and libFuzzer ends the process with exit(), where
        // a static application would be destroyed after them.
        static QApplication *application = new QApplication(argc, argv);
        Q_UNUSED(application)
    }
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

bool startToolkit()
{
    if (!startApplication())
        return false;
    initialize();
    return true;
}

// Styles and images the seeds name: the controls' test package and the
// monitor's style.json, loaded once for the life of the process.
void loadFuzzSkin()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    const QString source = QStringLiteral(ORV_FUZZ_SOURCE_DIR);
    loadSkinPackage(source + QStringLiteral("/tests/data/controls/controls.zip"));
    QFile styleFile(source + QStringLiteral("/skin/style.json"));
    if (!styleFile.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = styleFile.readAll();
    Json::Value root;
    if (parseJsonDocument(text.constData(), size_t(text.size()), root))
        OrvQResourceManager::instance().parseStyles(jsonMember(root, "style"));
}

// The window every description is built into: a dialog, so that the window
// keys take effect. Making and showing a new top-level window per input cost
// more than most inputs themselves, so one is kept, hidden and emptied
// between inputs and set back to its first state; it is made anew only when
// an input left it in a state that cannot be set back.
class TargetWindow
{
public:
    OrvQWindow *take()
    {
        if (m_window && !isPristine())
            discard();
        if (!m_window) {
            m_window = new OrvQWindow;
            m_flags = m_window->windowFlags();
            m_size = m_window->size();
            m_position = m_window->pos();
            m_draggable = m_window->isDraggable();
            m_resizable = m_window->isResizable();
            m_onlyDragCaption = m_window->onlyDragCaption();
            m_minWidth = m_window->minWidth();
            m_minHeight = m_window->minHeight();
            m_objects = m_window->children();
            // Set once: a change of size hints is a call into the platform.
            m_window->setMaximumSize(MaxTargetSize);
        }
        m_window->move(m_position);
        m_window->resize(m_size);
        return m_window;
    }

    // Deletes what the input built, at once: deleteLater() would wait for
    // an event loop the fuzzer never runs.
    void release()
    {
        if (!m_window)
            return;
        m_window->close();
        if (!m_window)
            return;
        // Guarded: a child's destructor may delete a sibling.
        QList<QPointer<QObject>> built;
        for (QObject *child : m_window->children()) {
            if (!m_objects.contains(child))
                built.append(child);
        }
        for (const QPointer<QObject> &child : built)
            delete child.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!m_window)
            return;
        m_window->setDraggable(m_draggable);
        m_window->setResizable(m_resizable);
        m_window->setOnlyDragCaption(m_onlyDragCaption);
        m_window->setMinWidth(m_minWidth);
        m_window->setMinHeight(m_minHeight);
        m_window->setMinimumSize(0, 0);
        m_window->setMaximumSize(MaxTargetSize);
        m_window->setUpdatesEnabled(true);
    }

private:
    bool isPristine() const
    {
        const OrvQWindowImpl *impl = m_window->impl();
        return m_window->windowFlags() == m_flags && !m_window->testAttribute(Qt::WA_TranslucentBackground)
            && m_window->children() == m_objects && impl && !impl->isDragging()
            && impl->resizeEdge() == OrvQWindowImpl::EdgeNone && m_window->isEnabled()
            && !m_window->isVisible();
    }

    void discard()
    {
        delete m_window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QPointer<OrvQWindow> m_window;
    Qt::WindowFlags m_flags;
    QSize m_size;
    QPoint m_position;
    bool m_draggable = false;
    bool m_resizable = false;
    bool m_onlyDragCaption = false;
    int m_minWidth = 0;
    int m_minHeight = 0;
    QObjectList m_objects;
};

TargetWindow &targetWindow()
{
    // Never destroyed, as the application.
    static TargetWindow *const window = new TargetWindow;
    return *window;
}

// Paints the widget's tree into an image kept between inputs: a new one per
// input cost a fresh mapping of memory and a page fault per page.
void renderInto(QWidget *widget, const QSize &size)
{
    static QImage *const image = new QImage(MaxTargetSize, QImage::Format_ARGB32_Premultiplied);
    image->fill(Qt::transparent);
    widget->render(image, QPoint(), QRegion(QRect(QPoint(), size.boundedTo(MaxTargetSize))));
}

// Resizes the target and, through the top-level controls, the layout passes
// of their subtrees.
void resizeAll(const QPointer<QWidget> &target, const QSize &size)
{
    target->resize(size);
    QCoreApplication::processEvents();
    if (!target)
        return;
    const QList<QWidget *> children = target->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    const QList<QPointer<QWidget>> tops(children.begin(),
                                        children.begin() + qMin(children.size(), MaxVisitedControls));
    for (const QPointer<QWidget> &top : tops) {
        if (top && controlInterface(top))
            top->resize(size);
    }
    QCoreApplication::processEvents();
}

// Enter, a click, a drag step, a double click and leave at the middle of the
// control, as the platform would send them. Stops once the control is gone.
void clickThrough(const QPointer<QWidget> &control)
{
    const auto send = [&control](QEvent &event) {
        if (!control)
            return false;
        QCoreApplication::sendEvent(control, &event);
        // What a handler posted (repaints, layout requests); the platform has
        // nothing new for a synthetic event, and polling it for each step of
        // each control cost a third of the run in system time.
        QCoreApplication::sendPostedEvents();
        return !control.isNull();
    };
    const auto mouse = [&control](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons) {
        const QPoint local(control->width() / 2, control->height() / 2);
        return QMouseEvent(type, local, local, control->mapToGlobal(local), button, buttons, Qt::NoModifier);
    };
    if (!control)
        return;
    const QPoint centre(control->width() / 2, control->height() / 2);
    QEnterEvent enter(centre, centre, control->mapToGlobal(centre));
    if (!send(enter))
        return;
    QMouseEvent press = mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    if (!send(press))
        return;
    QMouseEvent move = mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    if (!send(move))
        return;
    QMouseEvent release = mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    if (!send(release))
        return;
    QMouseEvent doubleClick = mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    if (!send(doubleClick))
        return;
    QMouseEvent secondRelease = mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    if (!send(secondRelease))
        return;
    QEvent leave(QEvent::Leave);
    send(leave);
}

// libFuzzer's dictionary syntax: a quoted string with \\, \" and \xAB escapes.
std::string dictionaryLine(const std::string &token)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string line = "\"";
    for (const char c : token) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            line += '\\';
            line += c;
        } else if (byte < 0x20 || byte > 0x7e) {
            line += "\\x";
            line += hex[byte >> 4];
            line += hex[byte & 0xf];
        } else {
            line += c;
        }
    }
    line += "\"\n";
    return line;
}

} // namespace

int description(const uint8_t *data, size_t size)
{
    if (!startToolkit())
        return 0;
    loadFuzzSkin();
    Json::Value root;
    if (!parseJsonDocument(reinterpret_cast<const char *>(data), size, root))
        return 0;

    const PaintLimiter paints(PaintBudget);
    // Each input may report each cause again; the set of causes stays small.
    resetSkinReports();
    // Any handler may delete any widget, the target included.
    QPointer<QWidget> target = targetWindow().take();
    const auto cleanup = qScopeGuard([] { targetWindow().release(); });
    applyWindowKeys(root, target);
    buildElements(root, target);
    if (!target)
        return 0;

    target->setMinimumSize(0, 0);
    target->setMaximumSize(MaxTargetSize);
    target->resize(target->size().boundedTo(ShownTargetSize));
    // Laid out at every size but painted on screen at the last only: each
    // new size of the window is a new backing store, a fresh mapping of
    // memory whose every page faults. The largest size is painted into an
    // image kept between inputs instead.
    target->setUpdatesEnabled(false);
    target->show();
    QCoreApplication::processEvents();

    for (const QSize &size : {QSize(0, 0), MaxTargetSize, ShownTargetSize}) {
        if (!target)
            return 0;
        resizeAll(target, size);
        if (target && size == MaxTargetSize)
            renderInto(target, size);
    }
    if (!target)
        return 0;
    target->setUpdatesEnabled(true);
    QCoreApplication::processEvents();
    if (!target)
        return 0;

    QList<QPointer<QWidget>> controls;
    for (QWidget *widget : target->findChildren<QWidget *>()) {
        if (controls.size() == MaxVisitedControls)
            break;
        if (controlInterface(widget))
            controls.append(widget);
    }
    for (const QPointer<QWidget> &control : controls) {
        if (!target || paints.spent())
            break;
        clickThrough(control);
    }
    return 0;
}

std::string descriptionDictionary()
{
    if (!startToolkit())
        return {};

    // JSON's own tokens; every name comes from the toolkit's tables.
    std::set<std::string> tokens{"{", "}", "[", "]", ",", ":", "\"", "true", "false", "null"};
    const auto addName = [&tokens](const std::string &name) {
        tokens.insert(name);
        tokens.insert('"' + name + '"');
    };
    // A bounded number is worth trying at its bounds and just past them.
    const auto addKey = [&](const OrvQKeyInfo &key) {
        addName(key.name);
        if (key.type != OrvQKeyType::Int)
            return;
        if (key.minimum != INT_MIN) {
            tokens.insert(std::to_string(key.minimum));
            tokens.insert(std::to_string(qint64(key.minimum) - 1));
        }
        if (key.maximum != INT_MAX) {
            tokens.insert(std::to_string(key.maximum));
            tokens.insert(std::to_string(qint64(key.maximum) + 1));
        }
    };

    addName("elements");
    for (const OrvQKeyInfo &key : windowKeys())
        addKey(key);
    for (const char *key : commonElementKeys())
        addName(key);
    for (const char *key : layoutKeys())
        addName(key);
    // style.json records, which the styles target reads.
    for (const OrvQKeyInfo &key : styleRecordKeys())
        addKey(key);
    for (const OrvQKeyInfo &key : keyInfoOf(rectStyleKeys()))
        addKey(key);
    for (const OrvQKeyInfo &key : keyInfoOf(fontStyleKeys()))
        addKey(key);
    for (const char *key : describedItemKeys())
        addName(key);
    addName("-");
    for (const std::string &type : registeredTypes()) {
        addName(type);
        const std::optional<OrvQControlSchema> schema = controlSchema(type.c_str());
        if (!schema)
            continue;
        for (const OrvQKeyInfo &key : schema->keys)
            addKey(key);
        for (const OrvQKeyInfo &key : schema->elementKeys)
            addKey(key);
        // The tail of a "style" entry that reaches this slot.
        for (const OrvQSlotInfo &slot : schema->styleSlots)
            tokens.insert(",0," + std::to_string(slot.slot) + "]");
    }
    // Scroll bar elements inside a scroll-area control's "child" array.
    const OrvQControlSchema scrollBarElement = OrvQScrollAreaSkin::elementSchema();
    for (const OrvQKeyInfo &key : scrollBarElement.keys)
        addKey(key);
    for (const OrvQSlotInfo &slot : scrollBarElement.styleSlots)
        tokens.insert(",0," + std::to_string(slot.slot) + "]");

    std::string text;
    for (const std::string &token : tokens)
        text += dictionaryLine(token);
    return text;
}

} // namespace Fuzz
} // namespace OrvQtLib
