#pragma once

/// \file
/// Everything a program needs to use the toolkit.

/// \namespace OrvQtLib
/// The toolkit: controls built from JSON window descriptions and painted
/// from the styles of a skin package. Start with initialize(),
/// loadSkinPackage() and loadWindowLayout(); find the controls a description
/// built with findControl().

#include "core/control.h"
#include "core/controlbase.h"
#include "core/controlkeys.h"
#include "core/controlregistry.h"
#include "core/findcontrol.h"
#include "core/itemhover.h"
#include "core/jsonreaders.h"
#include "core/proxystyle.h"
#include "core/resourcemanager.h"
#include "core/skinlog.h"
#include "core/stylerecords.h"
#include "core/styleslots.h"
#include "core/windowloader.h"
#include "core/ziparchive.h"

#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/container.h"
#include "controls/datagrid.h"
#include "controls/ecgchart.h"
#include "controls/groupbox.h"
#include "controls/itemrows.h"
#include "controls/label.h"
#include "controls/lineedit.h"
#include "controls/list.h"
#include "controls/listview.h"
#include "controls/menubar.h"
#include "controls/picture.h"
#include "controls/progressbar.h"
#include "controls/pushbutton.h"
#include "controls/scrollarea.h"
#include "controls/scrollview.h"
#include "controls/slider.h"
#include "controls/smallcontrols.h"
#include "controls/switch.h"
#include "controls/tabbar.h"
#include "controls/textedit.h"
#include "controls/textfield.h"
#include "controls/treeview.h"
#include "controls/window.h"
