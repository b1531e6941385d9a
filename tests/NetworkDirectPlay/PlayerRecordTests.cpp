#include "NetworkDirectPlay/NetworkPlayerDirectPlay.h"
#include "Platform/System/MessageSink.h"

#include <gtest/gtest.h>

TEST(PlayerRecord, AnUnknownAddressIsReportedOnceAndStaysEmpty)
{
    Platform::ScopedMessageCapture capture;
    NetworkPlayerDirectPlay player("New Player", true, 7);
    player.setHostAddress("10.0.0.1", false);
    EXPECT_EQ(player.getHostAddress(), "");
    EXPECT_EQ(player.getHostAddress(), "");
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].text, "Impossible de r\xE9"
                                          "cup\xE9rer l'adresse, \xE9tape 1/3");

    NetworkPlayerDirectPlay known("Ann", false, 8);
    known.setHostAddress("127.0.0.1", true);
    EXPECT_EQ(known.getHostAddress(), "127.0.0.1");
    EXPECT_EQ(capture.messages().size(), 1u);
}
