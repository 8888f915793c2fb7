// Everything of the class layer in one include.
#pragma once

#include "classlib/archive.h"
#include "classlib/array.h"
#include "classlib/controls.h"
#include "classlib/dataexchange.h"
#include "classlib/filedialog.h"
#include "classlib/list.h"
#include "classlib/map.h"
#include "classlib/propertysheet.h"
