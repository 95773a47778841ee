// zed demo, settings: path parts, text searches and the date and time texts.
#include <ostream>

#include "commands.h"
#include "zedll.h"

namespace zedtool {

void DemoSettings(std::ostream& out) {
    out << "\n== settings: strings, paths, dates\n";
    const CLS_FileName path("C:\\patterns\\jacket.front.plt");
    char part[256];
    out << "path      " << path.GetBuffer() << "\n";
    out << "drive     " << path.GetDrive(part) << "\n";
    out << "directory " << path.GetDirectory(part) << "\n";
    out << "name      " << path.GetName(part) << "\n";
    out << "extension " << path.GetExtension(part) << "\n";
    out << "find \"front\" at " << static_cast<long>(path.Find("front"))
        << ", last \".\" at " << static_cast<long>(path.ReverseFind(".")) << "\n";
    const CLS_Date date(5, 12, 2026);
    const int old_format = CLS_Date::SetPrintOption(1);
    for (int format = 1; format <= 5; ++format) {
        CLS_Date::SetPrintOption(format);
        out << "date format " << format << ": " << date.Print().GetBuffer() << "\n";
    }
    CLS_Date::SetPrintOption(old_format);
    out << "day " << date.GetDayNumber() << ", weekday " << date.DayOfWeek() << ", ISO week "
        << date.WeekOfYear() << "\n";
}

}  // namespace zedtool
