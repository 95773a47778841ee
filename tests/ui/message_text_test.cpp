// Message texts: formatted with the caller's arguments, and left empty when they do not fit.
#include "ui/message_text.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

namespace {

int Format(char* out, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int n = zed::ui::FormatMessageText(out, format, arguments);
    va_end(arguments);
    return n;
}

TEST(MessageText, FormatsWhatFitsAndEmptiesWhatDoesNot) {
    char out[zed::ui::kMessageTextBytes];
    EXPECT_EQ(Format(out, "Piece %s has %d lines", "Back", 7), 22);
    EXPECT_STREQ(out, "Piece Back has 7 lines");
    const std::string fits(255, 'a'), too_long(256, 'a');
    EXPECT_EQ(Format(out, "%s", fits.c_str()), 255);
    EXPECT_EQ(std::string(out), fits);
    EXPECT_EQ(Format(out, "%s", too_long.c_str()), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(Format(out, "%s!", fits.c_str()), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(Format(out, nullptr), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(Format(out, ""), 0);
}

}  // namespace
