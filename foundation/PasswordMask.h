#pragma once
// The one filter every text passes on its way to the log, the error files, a
// message or the console: the values of the password keys of connection
// strings and configuration texts are replaced by a fixed mask.

#include <QString>

// The text with the value of each Password, PWD and MainProperty_Password key
// (any letter case) replaced by kPasswordMask: in "key=value" up to ';', a
// line break or the end; in "key={value}" the braced value, "}}" standing for
// a brace inside it, and what follows it up to ';' or a line break; an
// unclosed '{' hides the rest of the text. Texts without "pwd" or "password"
// are returned as they are, without a search.
QString maskPasswords(const QString& text);

inline constexpr const char* kPasswordMask = "******";
