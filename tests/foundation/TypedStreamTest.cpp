#include "foundation/TypedStream.h"

#include <QBuffer>
#include <gtest/gtest.h>

TEST(TypedStream, Smoke)
{
    QBuffer b;
    b.open(QIODevice::ReadWrite);
    {
        TWriter w(&b, 64);
        w.writeInteger(300);
    }
    EXPECT_EQ(b.data().toHex(), "032c01");
}
