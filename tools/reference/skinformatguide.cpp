#include "skinformatguide.h"

#include "controlbase.h"
#include "controlreference.h"
#include "stylekeys.h"
#include "windowloader.h"

#include <QRegularExpression>

namespace OrvQtLib::Tools {

namespace {

QString block(const QString &name)
{
    QString text;
    QTextStream out(&text);
    std::vector<OrvQKeyInfo> keys;
    if (name == QLatin1String("element-keys")) {
        keys = commonElementKeyTable();
    } else if (name == QLatin1String("layout-keys")) {
        keys = layoutKeyTable();
    } else if (name == QLatin1String("window-keys")) {
        keys = windowKeys();
    } else if (name == QLatin1String("rect-style-keys") || name == QLatin1String("font-style-keys")) {
        keys = styleRecordKeys();
        const bool rect = name == QLatin1String("rect-style-keys");
        const std::vector<OrvQKeyInfo> own = rect ? keyInfoOf(rectStyleKeys()) : keyInfoOf(fontStyleKeys());
        keys.insert(keys.end(), own.begin(), own.end());
    } else {
        return QString();
    }
    writeKeys(out, keys);
    out.flush();
    return text;
}

} // namespace

QString updateSkinFormatGuide(const QString &guide)
{
    static const QRegularExpression start(QStringLiteral("^<!-- generated: ([a-z-]+) -->$"));
    static const QString end = QStringLiteral("<!-- end generated -->");
    const QStringList lines = guide.split(QLatin1Char('\n'));
    QStringList result;
    for (int i = 0; i < lines.size(); ++i) {
        result.append(lines[i]);
        const QRegularExpressionMatch match = start.match(lines[i]);
        const int close = match.hasMatch() ? int(lines.indexOf(end, i + 1)) : -1;
        const QString text = close > 0 ? block(match.captured(1)) : QString();
        if (text.isEmpty())
            continue;
        result.append(QStringLiteral("Generated from the toolkit's key tables by `cmake --build build --target "
                                     "skin_format_reference`; do not edit."));
        result.append(QString());
        result.append(text.trimmed());
        result.append(end);
        i = close;
    }
    return result.join(QLatin1Char('\n'));
}

} // namespace OrvQtLib::Tools
