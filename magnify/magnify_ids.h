/* Identifiers of the magnifier's zoom dialog. Read by the C++ code and by the resource compiler,
   so it holds preprocessor lines only. */
#ifndef ZEDLL_MAGNIFY_IDS_H
#define ZEDLL_MAGNIFY_IDS_H

#define ZEDLL_ZOOM_FACTOR_EDIT 1000
#define ZEDLL_ZOOM_MIN_FIELD 1010
#define ZEDLL_ZOOM_MAX_FIELD 1011

#endif
