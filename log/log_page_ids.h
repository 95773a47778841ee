/* Identifiers of the log-options page's controls. Read by the C++ code and by the resource
   compiler, so it holds preprocessor lines only. */
#ifndef ZEDLL_LOG_PAGE_IDS_H
#define ZEDLL_LOG_PAGE_IDS_H

#define ZEDLL_LOG_DEFAULT_BUTTON 200
/* The method buttons, in the order the page stores them. */
#define ZEDLL_LOG_DISABLED 1000
#define ZEDLL_LOG_FILE 1001
#define ZEDLL_LOG_SYSTEM 1002
#define ZEDLL_LOG_STDERR 1003
#define ZEDLL_LOG_PATH_EDIT 1004
#define ZEDLL_LOG_BROWSE_BUTTON 1005

#endif
