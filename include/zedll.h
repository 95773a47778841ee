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
#include "zedll/language.h"
#include "zedll/log.h"
#include "zedll/log_options.h"
#include "zedll/system_objects.h"
#include "zedll/version_info.h"
#include "zedll/cls_string.h"
#include "zedll/reg_options.h"
#include "zedll/date_time.h"
#include "zedll/recent_files.h"
#include "zedll/units.h"

// What only Windows exports: the UI kit and the magnifier.
#if defined(_WIN32)
#include "zedll/win32/log_page.h"
#include "zedll/win32/window_base.h"
#include "zedll/win32/dlg_template.h"
#include "zedll/win32/message_box.h"
#include "zedll/win32/splash.h"
#include "zedll/win32/wave.h"
// Toolbar menu bar, rebar and recent-file menus.
#include "zedll/win32/tmenu.h"
#include "zedll/win32/rebar.h"
#include "zedll/win32/recent_files_menu.h"
// The magnifier and its view.
#include "zedll/win32/magnify.h"
#endif

#endif
