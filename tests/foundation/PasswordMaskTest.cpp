#include "foundation/PasswordMask.h"

#include <gtest/gtest.h>

TEST(PasswordMask, HidesTheValuesOfThePasswordKeys)
{
    const struct {
        QString text;
        QString masked;
    } cases[] = {
        // key=value: up to ';', a line break or the end; keys in any case, blanks around '='
        {"DSN=x;UID=scott;PWD=tiger;Server=h", "DSN=x;UID=scott;PWD=******;Server=h"},
        {"pwd=tiger", "pwd=******"},
        {"Password = tiger\r\nnext line", "Password = ******\r\nnext line"},
        {"PASSWORD=tiger\nServer=h", "PASSWORD=******\nServer=h"},
        {"MainProperty_Password=tiger", "MainProperty_Password=******"},
        {"[Source]\nmainproperty_password=t;i;g\nMainProperty_UserName=scott",
         "[Source]\nmainproperty_password=******;i;g\nMainProperty_UserName=scott"},
        {"PWD=a;Password=b;pwd=c", "PWD=******;Password=******;pwd=******"},
        {"PWD=", "PWD=******"},
        // braces: "}}" is a brace inside the value; text glued to the braces goes too
        {"Pwd={se;cr}}et};UID=u", "Pwd=******;UID=u"},
        {"Pwd={se;cr}et};UID=u", "Pwd=******;UID=u"},
        {"PWD={a}}}", "PWD=******"},
        {"PWD={}", "PWD=******"},
        // an unclosed brace hides everything after it
        {"PWD={tiger;UID=u\nmore", "PWD=******"},
        {"Driver={PostgreSQL;Server=h;PWD={ti;ger", "Driver={PostgreSQL;Server=h;PWD=******"},
        // the driver echoing a connection string inside its message
        {"[unixODBC]Driver={x;UID=u;PWD=tiger' not found", "[unixODBC]Driver={x;UID=u;PWD=******"},
        // not these keys
        {"UserPassword=kept;OldPWD=kept", "UserPassword=kept;OldPWD=kept"},
        {"Access denied (using password: YES)", "Access denied (using password: YES)"},
        {"PWD tiger", "PWD tiger"},
        {"nothing here", "nothing here"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(maskPasswords(c.text).toStdString(), c.masked.toStdString());
    }
}
