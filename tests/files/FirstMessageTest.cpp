#include <gtest/gtest.h>

#include <cerrno>

#include "files/FirstMessage.h"

// The converter reports the first failure with the reason the system gave when it happened:
// a later message, or errno changed afterwards, must not replace it.
TEST(FirstMessage, KeepsTheFirstTextWithItsReasonAndAnswersNo)
{
    CFirstMessage messages;
    EXPECT_EQ(messages.line(), "");
    errno = ENOENT;
    messages.tell("ERROR: Unable to open selected file", MessageIcon::Stop);
    errno = EACCES;
    EXPECT_FALSE(messages.askYesNo("Replace it?", MessageIcon::Question));
    messages.tell("a second message", MessageIcon::Stop);
    EXPECT_EQ(messages.line(), "ERROR: Unable to open selected file (No such file or directory)");

    CFirstMessage withoutReason;
    errno = 0;
    EXPECT_FALSE(withoutReason.askYesNo("Go on?", MessageIcon::Question));
    errno = EIO;
    EXPECT_EQ(withoutReason.line(), "Go on?");
}
