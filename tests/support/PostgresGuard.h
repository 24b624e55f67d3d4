#pragma once

#include "support/TestPostgres.h"

#include <QtGlobal>

// Puts the test server back to serving when a test leaves, early or not: a test that
// fails while the server is frozen or stopped must not leave it so for the next test.
class PostgresGuard
{
public:
    explicit PostgresGuard(const TestPostgres &server)
        : server_(server)
    {
    }

    ~PostgresGuard()
    {
        QString error;
        if (server_.available() && !server_.restore(&error))
            qWarning("the test server could not be restored: %s", qPrintable(error));
    }

    PostgresGuard(const PostgresGuard &) = delete;
    PostgresGuard &operator=(const PostgresGuard &) = delete;

private:
    const TestPostgres &server_;
};
