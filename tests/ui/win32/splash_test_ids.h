// The resources of the splash tests, read by the resource compiler and the tests.
#ifndef ZEDLL_TESTS_UI_SPLASH_TEST_IDS_H
#define ZEDLL_TESTS_UI_SPLASH_TEST_IDS_H

#define ZEDTEST_SPLASH_PICTURE 7100
// The picture's size in pixels (make_splash_picture.py).
#define ZEDTEST_SPLASH_WIDTH 420
#define ZEDTEST_SPLASH_HEIGHT 300

#endif
