#pragma once

#include <QString>

// Message boxes show rich text, and some of it comes from outside: a phone's
// error, a file's name, a server's answer. Rich text can name pictures and
// style sheets anywhere ("<img src=/dev/zero>" reads a device without end),
// and no hook keeps a label from loading them. So a box's text keeps only the
// markup the program writes itself: <b>, <i>, <u>, <p>, <br/> and links
// written <a href="...">; every other "<" is shown as the character it is.
// Character references stay as they are.
QString safeRichText(const QString& html);
