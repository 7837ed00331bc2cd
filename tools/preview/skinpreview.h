#pragma once

#include "controlbase.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace OrvQtLib::Tools {

struct PreviewRequest {
    QString package;
    QString description;
    // Invalid: the description's own "w" and "h", else DefaultPreviewSize.
    QSize size;
    // Controls, by name, shown in another state than normal.
    std::vector<std::pair<QString, OrvQControlState>> states;
    // Check boxes and radio buttons, by name, shown checked.
    QStringList checked;
    // Device pixels per logical pixel of the rendered image.
    qreal scale = 1;
};

inline const QSize DefaultPreviewSize(800, 600);
// A description may ask for any size; a preview larger than this on a side
// would be an image of gigabytes.
constexpr int MaxPreviewSide = 8192;
// Rows a template list view without a model shows.
constexpr int SampleListRows = 8;

// "NAME=hover", "NAME=pressed" or "NAME=disabled"; false for anything else.
bool parseStateOption(const QString &text, std::pair<QString, OrvQControlState> *out);
// "WxH" with both sides 1 to MaxPreviewSide; an invalid size otherwise.
QSize parseSizeOption(const QString &text);
// Reads the command line of a designers' tool (without the program name):
// PACKAGE DESCRIPTION with "--size WxH", "--scale F", "--state NAME=..." and
// "--check NAME", and "-o FILE" into `output` when one is given. False for
// anything else, a bad value or a missing argument.
bool parsePreviewArguments(QStringList args, PreviewRequest *request, QString *output = nullptr);

// The window size a request asks for: its own, else the description's "w"
// and "h" from the loaded package or the disk, else DefaultPreviewSize.
// Invalid when the description is found nowhere or does not parse.
QSize previewSize(const PreviewRequest &request);
// Gives what a host adds in code to a built window: rows for template list
// views without a model, menus for menu bars without items.
void addSampleContent(QWidget *window);
// Shows the request's controls checked and in their states; false, with
// `error` set, when one of them is not in the window.
bool applyPreviewStates(QWidget *window, const PreviewRequest &request, QString *error);
// A ratio from MinPreviewScale to MaxPreviewScale; 0 for anything else.
constexpr qreal MinPreviewScale = 0.5;
constexpr qreal MaxPreviewScale = 4;
qreal parseScaleOption(const QString &text);

// Builds the description from the package into a window with preview mode
// on, so item views show sample rows, and renders it. The package is a zip
// file or a folder holding an unpacked one. Template list views
// without a model get sample rows and menu bars without items sample menus,
// which a host would otherwise add. A null image and
// `error` set when the package or description is missing, nothing is built
// or a named control does not exist; `unreadablePackage` is set when the
// package itself cannot be read. The image has `scale` times the window's
// size in pixels, that scale as its device pixel ratio; a window shown at
// that ratio (QT_SCALE_FACTOR) is grabbed, any other rendered into an image
// of it. Needs a QApplication.
QImage renderPreview(const PreviewRequest &request, QString *error, bool *unreadablePackage = nullptr);

} // namespace OrvQtLib::Tools
