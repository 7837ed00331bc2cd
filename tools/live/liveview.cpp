#include "liveview.h"

#include "controlregistry.h"
#include "skinchecker.h"
#include "windowloader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

namespace OrvQtLib::Tools {

LiveView::LiveView(const PreviewRequest &request, QWidget *parent)
    : QWidget(parent)
    , m_request(request)
{
    setPreviewMode(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_banner = new QLabel(this);
    m_banner->setWordWrap(true);
    m_banner->setTextFormat(Qt::PlainText);
    m_banner->setStyleSheet(QStringLiteral("background: #b3261e; color: white; padding: 4px;"));
    m_banner->hide();
    layout->addWidget(m_banner);
    layout->addStretch(1);

    m_settle.setSingleShot(true);
    m_settle.setInterval(LiveSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &LiveView::changed);
    const auto settle = [this] { m_settle.start(); };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, settle);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, settle);
    rebuild();
}

namespace {

// What the zip holds: times may be too coarse to tell two quick saves apart.
QByteArray stampOf(const QFileInfo &info)
{
    QFile file(info.filePath());
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray();
    return hash.result();
}

} // namespace

void LiveView::changed()
{
    const QFileInfo package(m_request.package);
    if (!package.isDir() && stampOf(package) == m_stamp) {
        watchPackage();
        return;
    }
    rebuild();
}

LiveView::~LiveView() = default;

void LiveView::watchPackage()
{
    // A save that writes a new file and renames it over the old one ends
    // the watch on the old file, so every path is added again each time;
    // the folders tell about files that come and go.
    QStringList paths;
    const QFileInfo package(m_request.package);
    if (package.isDir()) {
        paths.append(package.filePath());
        QDirIterator it(package.filePath(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            paths.append(it.next());
    } else {
        paths.append(package.absolutePath());
        if (package.exists())
            paths.append(package.filePath());
    }
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    QStringList added;
    for (const QString &path : paths) {
        if (!watched.contains(path))
            added.append(path);
    }
    if (!added.isEmpty())
        m_watcher.addPaths(added);
}

void LiveView::showFindings(const QStringList &findings)
{
    m_findings = findings;
    m_banner->setText(findings.join(QLatin1Char('\n')));
    m_banner->setVisible(!findings.isEmpty());
}

void LiveView::rebuild()
{
    watchPackage();
    m_stamp = stampOf(QFileInfo(m_request.package));

    const std::vector<SkinFinding> found = checkSkinPackage(m_request.package, {m_request.description});
    if (hasErrors(found)) {
        QStringList lines;
        for (const SkinFinding &finding : found) {
            if (!finding.warning)
                lines.append(formatFinding(finding));
        }
        showFindings(lines);
        emit rebuilt(false);
        return;
    }

    if (!replaceSkinPackage(m_request.package)) {
        showFindings({QStringLiteral("%1: the package cannot be read").arg(m_request.package)});
        emit rebuilt(false);
        return;
    }
    const QSize size = previewSize(m_request);
    auto content = std::make_unique<QWidget>();
    content->resize(size.isValid() ? size : DefaultPreviewSize);
    QString error;
    if (!size.isValid() || !loadWindowLayout(content.get(), m_request.description)) {
        showFindings({QStringLiteral("%1: builds no control").arg(m_request.description)});
        emit rebuilt(false);
        return;
    }
    addSampleContent(content.get());
    if (!applyPreviewStates(content.get(), m_request, &error)) {
        showFindings({error});
        emit rebuilt(false);
        return;
    }

    content->setFixedSize(content->size());
    static_cast<QVBoxLayout *>(layout())->insertWidget(1, content.get());
    m_content = std::move(content);
    showFindings({});
    emit rebuilt(true);
}

} // namespace OrvQtLib::Tools
