// Resource and command identifiers shared by the menu bar tests and their resource script.
#ifndef ZEDLL_TESTS_UI_MENUBAR_TEST_IDS_H
#define ZEDLL_TESTS_UI_MENUBAR_TEST_IDS_H

#define ZEDTEST_MENUBAR_MENU 7301
#define ZEDTEST_CMD_NEW 601
#define ZEDTEST_CMD_OPEN 602
#define ZEDTEST_CMD_EXIT 603
#define ZEDTEST_CMD_UNDO 611
#define ZEDTEST_CMD_COPY 612
#define ZEDTEST_CMD_HELP 500
#define ZEDTEST_CMD_TOOLS 501

#endif
