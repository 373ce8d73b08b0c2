#pragma once

#include <exception>
#include <string>

class QString;

// The SQL layer's failure: what() is UTF-8 and holds SQLite's own message,
// followed by the statement that failed when there was one.
class SqliteException : public std::exception
{
public:
    SqliteException(int code, const QString& message, const QString& sql);

    const char* what() const noexcept override { return text.c_str(); }
    int code() const noexcept { return errorCode; }

private:
    int errorCode;
    std::string text;
};
