#include "ui/AppStyle.h"

#include <QByteArray>
#include <QFile>

QString appStyleSheet()
{
    // GUI thread only. Stays empty, and is tried again next time, while the
    // resource cannot be opened.
    static QString cache;
    if (cache.isEmpty()) {
        QFile file(QStringLiteral(":style.css"));
        if (file.open(QIODevice::ReadOnly)) {
            QByteArray content = file.readAll();
            const int nul = content.indexOf('\0');
            if (nul >= 0)
                content.truncate(nul);
            cache = QString::fromLatin1(content);
        }
    }
    return cache;
}
