#include "db/provider/SqliteTypes.h"

#include <QDateTime>
#include <gtest/gtest.h>

using rp::db::parseIsoDateTime;

TEST(SqliteTypes, IsoDateTextsAsStoredAreRead) {
    const QDate d(2024, 2, 29);
    EXPECT_EQ(parseIsoDateTime(QStringLiteral("2024-02-29")), QDateTime(d, QTime(0, 0)));
    EXPECT_EQ(parseIsoDateTime(QStringLiteral(" 2024-02-29 13:05 ")), QDateTime(d, QTime(13, 5)));
    EXPECT_EQ(parseIsoDateTime(QStringLiteral("2024-02-29T13:05:09")),
              QDateTime(d, QTime(13, 5, 9)));
    EXPECT_EQ(parseIsoDateTime(QStringLiteral("2024-02-29 13:05:09.5")),
              QDateTime(d, QTime(13, 5, 9, 500)));
    EXPECT_EQ(parseIsoDateTime(QStringLiteral("2024-02-29 13:05:09.123456789")),
              QDateTime(d, QTime(13, 5, 9, 123)));
    EXPECT_EQ(parseIsoDateTime(QStringLiteral("2024-02-29 23:59:59.99")),
              QDateTime(d, QTime(23, 59, 59, 990)));
}

TEST(SqliteTypes, OtherTextsAreNoDates) {
    for (const char* t : {"",
                          "2024",
                          "2024-02-30",
                          "2023-02-29",
                          "2024-13-01",
                          "2024-2-29",
                          "24-02-29",
                          "2024/02/29",
                          "2024-02-29x",
                          "2024-02-29 1:05",
                          "2024-02-29 13",
                          "2024-02-29 13:",
                          "2024-02-29 13:05:",
                          "2024-02-29 13:05:09.",
                          "2024-02-29 24:00",
                          "2024-02-29 13:05:60",
                          "2024-02-29 13:05:09.1234567890",
                          "2024-02-29 13:05:09,5",
                          "2024-02-29 13:05:09.5a",
                          "abcd-ef-gh",
                          "2024-02-29  13:05"}) {
        EXPECT_FALSE(parseIsoDateTime(QString::fromLatin1(t)).isValid()) << t;
    }
}
