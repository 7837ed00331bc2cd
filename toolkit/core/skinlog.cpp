#include "skinlog.h"

#include <QMutex>
#include <QMutexLocker>

#include <set>
#include <utility>

namespace OrvQtLib {

Q_LOGGING_CATEGORY(lcSkin, "orvqtlib.skin", QtWarningMsg)

namespace {

struct SkinReports {
    QMutex mutex;
    std::set<std::pair<int, QString>> written;
    int count = 0;
};

SkinReports &skinReports()
{
    static SkinReports reports;
    return reports;
}

} // namespace

bool skinReportDue(OrvQSkinIssue issue, const QString &subject)
{
    if (!lcSkin().isWarningEnabled())
        return false;
    SkinReports &reports = skinReports();
    QMutexLocker lock(&reports.mutex);
    if (reports.count > MaxSkinReportsPerLoad)
        return false;
    if (!reports.written.insert({int(issue), subject}).second)
        return false;
    if (++reports.count <= MaxSkinReportsPerLoad)
        return true;
    reports.written.clear();
    qCWarning(lcSkin, "more than %d findings: the rest are not reported until the next package load",
              MaxSkinReportsPerLoad);
    return false;
}

void resetSkinReports()
{
    SkinReports &reports = skinReports();
    QMutexLocker lock(&reports.mutex);
    reports.written.clear();
    reports.count = 0;
}

} // namespace OrvQtLib
