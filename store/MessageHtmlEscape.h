#pragma once

#include <QString>

// Text made safe for the message pages and the HTML export: "&", "<", ">"
// become entities (in that order) and every line break ("\r\n" or "\n")
// becomes "<br/>".
QString escapeMessageHtml(const QString& text);
