// Splash screens: a start-up picture with a percentage text and a progress bar, shown while a
// host program loads and kept for a minimum time.
#ifndef ZEDLL_WIN32_SPLASH_H
#define ZEDLL_WIN32_SPLASH_H

#include "zedll/export.h"
#include "zedll/platform_types.h"

/// Shows the bitmap resource `bitmap` of `instance` centred on the desktop, sized to the picture,
/// with the percentage text " 0 % " and a progress bar over it; above all other windows when
/// `topmost` is nonzero. One splash per process: a second one replaces the first in the library's
/// record. 1 when shown, -1 when the dialog could not be created.
ZEDLL_FUNC int ZEDLL_STDCALL CreateSplashLoader(HINSTANCE instance, HWND parent, WORD bitmap,
                                                DWORD minimum_seconds, BYTE topmost);
/// The same picture without the percentage text and the progress bar.
ZEDLL_FUNC int ZEDLL_STDCALL CreateSplash(HINSTANCE instance, HWND parent, WORD bitmap,
                                          DWORD minimum_seconds, BYTE topmost);

/// The indicators; each does nothing and returns 0 while no splash is shown.
/// Shows (nonzero `show`, passed as the show command) or hides the percentage text; the
/// platform's result.
ZEDLL_FUNC int ZEDLL_STDCALL SplashLoaderDisablePercent(BYTE show);
ZEDLL_FUNC int ZEDLL_STDCALL SplashLoaderDisableProgress(BYTE show);
/// Moves and sizes the control (pixels, in the splash) and repaints it; nonzero when done.
ZEDLL_FUNC int ZEDLL_STDCALL SplashLoaderSetSizePercent(int x, int y, int width, int height);
ZEDLL_FUNC int ZEDLL_STDCALL SplashLoaderSetSizeProgress(int x, int y, int width, int height);
/// Range low ... low 16 bits of high, and the step; the result of the step message (the old step).
ZEDLL_FUNC int ZEDLL_STDCALL SplashLoaderSetRangeProgress(WORD low, DWORD high, DWORD step);
/// A negative position advances the bar by one step, others set it; the previous position.
ZEDLL_FUNC int ZEDLL_STDCALL SplashLoaderSetPosProgress(int position);
/// The percentage text "42 %"; nonzero when set.
ZEDLL_FUNC int ZEDLL_STDCALL SplashLoaderSetPercent(int percent);

/// Removes the splash once its minimum time has passed since it appeared, waiting on the
/// caller's thread in steps of 200 ms (no messages are dispatched meanwhile), then gives the
/// focus to `focus` when not null. Always 1.
ZEDLL_FUNC int ZEDLL_STDCALL DestroySplash(HWND focus);

#endif
