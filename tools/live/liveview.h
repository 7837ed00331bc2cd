#pragma once

#include "skinpreview.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>

#include <memory>

class QLabel;

namespace OrvQtLib::Tools {

// How long the view waits after a change before it rebuilds: an editor's
// save may come as several writes and a rename.
constexpr int LiveSettleMs = 50;

// A description of a skin package (a zip or a folder) shown in a window and
// rebuilt whenever a file of the package is saved. A version that does not
// build, or in which the checker finds errors, leaves the last good build
// on screen under a banner listing the findings.
class LiveView : public QWidget
{
    Q_OBJECT

public:
    // Builds the description at once; preview mode is switched on. Needs an
    // initialized toolkit.
    explicit LiveView(const PreviewRequest &request, QWidget *parent = nullptr);
    ~LiveView() override;

    // The last good build, or null when there has been none.
    QWidget *content() const { return m_content.get(); }
    // What the banner lists; empty while the shown build is the current one.
    QStringList findings() const { return m_findings; }

public slots:
    // Checks and builds the package as it is now.
    void rebuild();

signals:
    // After every rebuild; `good` tells whether the new version is shown.
    void rebuilt(bool good);

private:
    void watchPackage();
    void changed();
    void showFindings(const QStringList &findings);

    PreviewRequest m_request;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QLabel *m_banner = nullptr;
    // The zip file as last built: a change elsewhere in its folder is none.
    QByteArray m_stamp;
    std::unique_ptr<QWidget> m_content;
    QStringList m_findings;
};

} // namespace OrvQtLib::Tools
