#pragma once

// Everything a program needs to use the toolkit.

#include "core/control.h"
#include "core/controlbase.h"
#include "core/controlkeys.h"
#include "core/controlregistry.h"
#include "core/jsonreaders.h"
#include "core/proxystyle.h"
#include "core/resourcemanager.h"
#include "core/stylerecords.h"
#include "core/styleslots.h"
#include "core/windowloader.h"
#include "core/ziparchive.h"

#include "controls/checkbox.h"
#include "controls/container.h"
#include "controls/ecgchart.h"
#include "controls/itemrows.h"
#include "controls/label.h"
#include "controls/listview.h"
#include "controls/picture.h"
#include "controls/progressbar.h"
#include "controls/pushbutton.h"
#include "controls/scrollarea.h"
#include "controls/slider.h"
#include "controls/switch.h"
#include "controls/window.h"
