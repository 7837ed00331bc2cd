#include "controlreference.h"

#include "controlbase.h"
#include "controlkeys.h"
#include "controlregistry.h"
#include "scrollarea.h"
#include "windowloader.h"

#include <QTextStream>
#include <QWidget>

#include <climits>
#include <map>
#include <memory>

namespace OrvQtLib::Tools {

namespace {

QString cell(QString text)
{
    return text.replace(QLatin1Char('|'), QLatin1String("\\|"));
}

QString typeText(const OrvQKeyInfo &info)
{
    switch (info.type) {
    case OrvQKeyType::Bool: return QStringLiteral("boolean");
    case OrvQKeyType::Int: return QStringLiteral("integer");
    case OrvQKeyType::Text: return info.image ? QStringLiteral("text (image name)") : QStringLiteral("text");
    case OrvQKeyType::GbkText: return QStringLiteral("text (UTF-8, else GBK)");
    case OrvQKeyType::Color: return QStringLiteral("colour: hex text or number");
    case OrvQKeyType::ColorText: return QStringLiteral("colour text (hex digits)");
    case OrvQKeyType::IntList: return QStringLiteral("array of integers");
    case OrvQKeyType::Object: return QStringLiteral("object");
    case OrvQKeyType::Array: return QStringLiteral("array");
    case OrvQKeyType::Items: return QStringLiteral("array of texts or objects");
    }
    return QString();
}

QString defaultText(const OrvQKeyInfo &info)
{
    if (!info.fallback.isValid())
        return QStringLiteral("unchanged");
    if (info.fallback.userType() == QMetaType::Bool)
        return info.fallback.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (info.fallback.userType() == QMetaType::QString)
        return QLatin1Char('"') + info.fallback.toString() + QLatin1Char('"');
    return info.fallback.toString();
}

QString rangeText(const OrvQKeyInfo &info)
{
    if (info.type != OrvQKeyType::Int || (info.minimum == INT_MIN && info.maximum == INT_MAX))
        return QString();
    // An open end reads as words, not as the int limit.
    if (info.maximum == INT_MAX)
        return QStringLiteral("%1 or more (clamped)").arg(info.minimum);
    if (info.minimum == INT_MIN)
        return QStringLiteral("at most %1 (clamped)").arg(info.maximum);
    return QStringLiteral("%1 to %2 (clamped)").arg(info.minimum).arg(info.maximum);
}

void writeSlots(QTextStream &out, const std::vector<OrvQSlotInfo> &table)
{
    static const char *const states[] = {"normal", "hover", "pressed", "disabled"};
    out << "| Slot | Looked up as | State | Styles |\n|---|---|---|---|\n";
    // A slot that fills two records of one role (a radio's text, checked or
    // not) is one row to a designer.
    QStringList written;
    for (const OrvQSlotInfo &row : table) {
        QString slot = QString::number(row.slot);
        if (row.lastSlot == INT_MAX)
            slot = QStringLiteral("any (%1 or more)").arg(row.slot);
        else if (row.lastSlot > row.slot)
            slot = QStringLiteral("%1 to %2").arg(row.slot).arg(row.lastSlot);
        QString state = QStringLiteral("-");
        if (row.group)
            state = row.state >= 0 && row.state < 4 ? QLatin1String(states[row.state]) : QStringLiteral("all four");
        const QString line = QStringLiteral("| %1 | %2 | %3 | %4 |\n")
                                 .arg(slot, row.font ? QStringLiteral("font style") : QStringLiteral("rect style"),
                                      state, cell(QString::fromUtf8(row.role)));
        if (written.contains(line))
            continue;
        written.append(line);
        out << line;
    }
    out << '\n';
}

struct TypeFamily {
    QString primary;
    QStringList names;
};

} // namespace

void writeKeys(QTextStream &out, const std::vector<OrvQKeyInfo> &keys)
{
    out << "| Key | JSON type | Default | Range | Effect |\n|---|---|---|---|---|\n";
    for (const OrvQKeyInfo &info : keys)
        out << "| `" << info.name << "` | " << typeText(info) << " | " << cell(defaultText(info)) << " | "
            << rangeText(info) << " | " << cell(QString::fromUtf8(info.effect)) << " |\n";
    out << '\n';
}

QString controlReference()
{
    // Names by the class they make.
    std::map<QString, TypeFamily> families;
    const std::set<std::string> &exposed = exposedTypes();
    for (const std::string &name : registeredTypes()) {
        std::unique_ptr<QWidget> widget(createControl(name.c_str(), Json::Value(), nullptr));
        if (!widget)
            continue;
        TypeFamily &family = families[QLatin1String(widget->metaObject()->className())];
        QString text = QString::fromStdString(name);
        if (IOrvQControlBase *control = controlInterface(widget.get())) {
            if (control->typeName() == text)
                family.primary = text;
        }
        family.names.append(text);
    }

    QString document;
    QTextStream out(&document);
    out << "# Control reference\n\n"
           "Generated from the controls' own key and slot tables by `cmake --build build --target "
           "controls_reference`; do not edit. `orvq-check` reads the same tables.\n\n"
           "A key of another JSON type than the one listed is read as if it were absent. \"Unchanged\" means the "
           "control keeps its own default when the key is absent.\n\n";

    out << "A type name marked \"not exposed\" builds exactly like the others; it is only left out of "
           "`exposedTypes()`, the list a host may show as the types on offer. Such names keep older descriptions "
           "loading; new skins use the exposed name of the same class.\n\n";

    out << "## Every element\n\n";
    writeKeys(out, commonElementKeyTable());
    out << "### Keys of `layout`\n\n";
    writeKeys(out, layoutKeyTable());

    out << "## Window keys\n\nKeys at the top of a description, beside `elements`.\n\n";
    writeKeys(out, windowKeys());

    const OrvQControlSchema bar = OrvQScrollAreaSkin::elementSchema();
    out << "## Scroll bar elements\n\nA child of a scroll area whose `type` contains `scrollbar` skins the area's "
           "bars; `w` (vertical bar) or `h` (horizontal bar) sets the thickness, "
        << MinScrollBarExtent << " to " << MaxScrollBarExtent << ".\n\n### `attr` keys\n\n";
    writeKeys(out, bar.keys);
    out << "### Style slots\n\n";
    writeSlots(out, bar.styleSlots);

    std::map<QString, std::pair<QString, TypeFamily>> byName;
    for (const auto &family : families) {
        TypeFamily each = family.second;
        if (each.primary.isEmpty())
            each.primary = each.names.first();
        byName.emplace(each.primary, std::make_pair(family.first, each));
    }
    for (const auto &entry : byName) {
        const QString &className = entry.second.first;
        const TypeFamily &family = entry.second.second;
        const auto hidden = [&exposed](const QString &name) {
            return exposed.count(name.toStdString()) ? QString() : QStringLiteral(" (not exposed)");
        };
        out << "## " << family.primary << "\n\nClass `" << className << "`" << hidden(family.primary) << '.';
        QStringList aliases;
        for (const QString &name : family.names) {
            if (name != family.primary)
                aliases.append(QLatin1Char('`') + name + QLatin1Char('`') + hidden(name));
        }
        if (!aliases.isEmpty())
            out << " Also: " << aliases.join(QStringLiteral(", ")) << '.';
        const std::optional<OrvQControlSchema> schema = controlSchema(family.primary.toUtf8().constData());
        if (!schema) {
            out << " Registered without a schema.\n\n";
            continue;
        }
        if (schema->scrollBarElements)
            out << " A scroll area: its scroll bar elements skin its bars.";
        out << "\n\n";
        if (!schema->elementKeys.empty()) {
            out << "### Element keys\n\n";
            writeKeys(out, schema->elementKeys);
        }
        out << "### `attr` keys\n\n";
        if (schema->keys.empty())
            out << "None.\n\n";
        else
            writeKeys(out, schema->keys);
        out << "### Style slots\n\n";
        if (schema->styleSlots.empty())
            out << "None.\n\n";
        else
            writeSlots(out, schema->styleSlots);
        if (!schema->traps.empty()) {
            out << "### Looks to know\n\n";
            for (const OrvQTrap &trap : schema->traps)
                out << "- " << cell(QString::fromUtf8(trap.message)) << " (`orvq-check` warns).\n";
            out << '\n';
        }
    }
    out.flush();
    return document.trimmed() + QLatin1Char('\n');
}

} // namespace OrvQtLib::Tools
