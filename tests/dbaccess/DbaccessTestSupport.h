#pragma once
// Shared set-up of the database-access tests: connections to the real MariaDB
// and to the Oracle stand-in from the QUENLOR_* variables that
// `scripts/servers start` exports. Without them a test skips, under CI=true it
// fails.

#include "foundation/StringList.h"
#include "records/ErrInfoList.h"
#include "records/PlainFolderData.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

class TFieldMetadata;
class TDBConnection;

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

QString testEnv(const char* name);
bool mysqlMissing();
bool oracleMissing();
bool runningInCI();

#define REQUIRE_MYSQL()                                                                  \
    do {                                                                                 \
        if (mysqlMissing()) {                                                            \
            if (runningInCI())                                                           \
                FAIL() << "QUENLOR_MYSQL_* not set: the MySQL test server is missing";   \
            GTEST_SKIP() << "QUENLOR_MYSQL_* not set (eval \"$(scripts/servers start)\")"; \
        }                                                                                \
    } while (0)

#define REQUIRE_ORACLE()                                                                      \
    do {                                                                                      \
        if (oracleMissing()) {                                                                \
            if (runningInCI())                                                                \
                FAIL() << "QUENLOR_ORACLE_* not set: the Oracle stand-in is missing";         \
            GTEST_SKIP() << "Oracle stand-in not configured (eval \"$(scripts/servers start)\")"; \
        }                                                                                     \
    } while (0)

// Connection settings (MainProperty_ lines and provider options) as a
// connection configuration would give them.
TStringList mysqlSettings();
TStringList oracleSettings();

// Connected connections; raise Exception with the failure text when opening fails.
std::unique_ptr<TDBConnection> openMySql(bool destination = true);
std::unique_ptr<TDBConnection> openOracle(bool destination = false);

// Built-in option defaults, naming options off, stop flag cleared; call in SetUp.
void resetRunState();

// A column description; -1 marks an absent length, precision or scale.
std::unique_ptr<TFieldMetadata> makeField(const QString& name, const QString& type, int length, int precision,
                                          int scale, bool notNull);

// Drops the MariaDB table if it exists (no error when it does not).
void dropMySqlTable(TDBConnection& connection, const QString& table);

// An error list over a temporary work folder; errors stay readable in memory.
struct TestErrorList {
    QTemporaryDir dir;
    TPlainFolderData folder{dir.path()};
    TErrInfoList list{&folder};
    int count() const { return list.errorCount(); }
    const TErrInfo& at(int index) const { return *list.errorAt(index); }
};
