// ZEDLL: the one public header of the library.
#ifndef ZEDLL_H
#define ZEDLL_H

#include "zedll/export.h"
#include "zedll/platform_types.h"
#include "zedll/points.h"
#include "zedll/geometry.h"
#include "zedll/pieces.h"
#include "zedll/curves.h"
#include "zedll/util.h"

#endif
