// Everything of the class layer in one include.
#pragma once

#include "classlib/archive.h"
#include "classlib/array.h"
#include "classlib/bars/statusbar.h"
#include "classlib/controls.h"
#include "classlib/dataexchange.h"
#include "classlib/docking/dockcontext.h"
#include "classlib/docking/minidockframe.h"
#include "classlib/document/commandlineinfo.h"
#include "classlib/document/doctemplate.h"
#include "classlib/document/recentfilelist.h"
#include "classlib/filedialog.h"
#include "classlib/list.h"
#include "classlib/map.h"
#include "classlib/propertysheet.h"
#include "classlib/view/splitter.h"
