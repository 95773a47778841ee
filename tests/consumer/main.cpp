// Uses the installed library through its one public header: exits 0 when the answers are right.
#include <zedll.h>

#include <cstdio>
#include <cstring>

int main() {
    tagAPOINT a(1, 2), b(4, 6);
    tagAPOINT square[5] = {tagAPOINT(0, 0), tagAPOINT(0, 10), tagAPOINT(10, 10), tagAPOINT(10, 0),
                           tagAPOINT(0, 0)};
    tagA3POINT p0(100, 0, 0, ATR()), p1(0, 100, 0, ATR()), p2(-100, 0, 0, ATR());
    float radius = 0;
    const bool ok = DistancePoints(&a, &b) == 5.0f && ClockWise(square, 5) == 1 &&
                    IsPointInArea(tagAPOINT(5, 5), square, 5) == 1 &&
                    ArcParameters(p0, p1, p2, nullptr, &radius) == 1 && radius == 100.0f &&
                    tagL3POINT(tagF3POINT(2.9f, -2.9f, 0.5f)).y == -2;
    // Strings are built with the host's own copy of their code and may come from the library.
    CLS_String text("pattern");
    text.Append(".plt");
    const CLS_String date = CLS_Date(5, 12, 2026).Print();
    const bool strings_ok = std::strcmp(text.GetBuffer(), "pattern.plt") == 0 && date.GetLength() > 0;
    const bool units_ok = LengthUnit(2).Convert(7, 1.0f) == 25.40031f;
    bool ui_ok = true;
#if defined(_WIN32)
    // A host that imports the UI kit loads the DLL: a refused box shows nothing, no splash is up,
    // and a template is built in memory.
    WIN_DlgTemplate dlg;
    ui_ok = ZerMessageBox(nullptr, "refused", "consumer", 6, nullptr, nullptr, 0x10) == -1 &&
            SplashLoaderSetPercent(50) == 0 && DestroySplash(nullptr) == 1 &&
            dlg.CreateHeader(0, 0, 100, 50, 0x80C00000, 0, nullptr) == 0 && dlg.GetDlgTemplate() != nullptr;
    // A magnifier made by the host with its own instance, from the library's classes.
    DSP_Magnify magnifier(::GetModuleHandleA(nullptr), nullptr, nullptr, 0, 1.0f, nullptr, "consumer", 0);
    ui_ok = ui_ok && magnifier.GetHandle() != nullptr && magnifier.SetWorkArea(LRECT{0, 100000, 100000, 0}) == 1 &&
            magnifier.GetMaxZoom() == 1000;
#endif
    const bool all_ok = ok && strings_ok && units_ok && ui_ok;
    std::printf("consumer: %s\n", all_ok ? "ok" : "wrong answers");
    return all_ok ? 0 : 1;
}
