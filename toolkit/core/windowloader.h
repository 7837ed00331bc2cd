#pragma once

#include "controlkeys.h"

#include <QString>

#include <json/value.h>

#include <vector>

class QWidget;

namespace OrvQtLib {

/// What a dialog window offers to the window-level keys of a description.
/// The loader applies "w", "h", "trans", "drag", "resize", "minH", "minW" and
/// "onlyDragCaption" only to targets that implement it.
class OrvQWindowKeyTarget
{
public:
    virtual ~OrvQWindowKeyTarget() = default;
    /// The "drag" key.
    virtual void setDraggable(bool draggable) = 0;
    /// The "resize" key.
    virtual void setResizable(bool resizable) = 0;
    /// The "minH" key.
    virtual void setMinHeight(int height) = 0;
    /// The "minW" key.
    virtual void setMinWidth(int width) = 0;
    /// The "onlyDragCaption" key.
    virtual void setOnlyDragCaption(bool onlyCaption) = 0;
};

/// The window-level keys, in the order they apply.
std::vector<OrvQKeyInfo> windowKeys();
/// Applies the window-level keys of a parsed description to `target` when it
/// is an OrvQWindowKeyTarget; any other target is left alone.
void applyWindowKeys(const Json::Value &root, QWidget *target);

/// Descriptions larger than this are refused rather than read into memory.
constexpr qint64 MaxDescriptionBytes = 64 * 1024 * 1024;
/// One load builds at most this many elements; the rest are skipped, so a
/// hostile description cannot create widgets until memory runs out.
constexpr int MaxElementsPerLoad = 200000;

/// Builds the description `name` (".json" appended unless the name contains
/// it) from the skin package, else from disk, into `target`. Returns the
/// control of the last top-level element, or null.
QWidget *loadWindowLayout(QWidget *target, QString name);

/// Builds the "elements" array of a parsed description into `target`, laying
/// out each top-level control once its subtree is complete.
QWidget *buildElements(const Json::Value &root, QWidget *target);
/// Builds one element and its "child" subtree under `parent`.
QWidget *buildElement(const Json::Value &element, QWidget *parent);

} // namespace OrvQtLib
