#include "import/XmlBackupReader.h"

#include <QCoreApplication>

#include <utility>

namespace {

// 10^11 ms is 3 March 1973; 10^11 s is in the year 5138.
constexpr qint64 kSmallestDateMs = 100000000000;

QString translated(const char* text)
{
    return QCoreApplication::translate("XmlBackupReader", text);
}

// An optional text of the app: empty for its "null".
QString optionalText(QStringView value)
{
    return value == u"null" ? QString() : XmlRefFilter::controlCharsRestored(value.toString());
}

} // namespace

XmlBackupReader::XmlBackupReader(QIODevice* file, KeepGoing keepGoing)
    : filter(file), xml(&filter), keepGoing(std::move(keepGoing))
{}

bool XmlBackupReader::goOn()
{
    if (!stopped && keepGoing && !keepGoing())
        stopped = true;
    return !stopped;
}

bool XmlBackupReader::skipElement()
{
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        if (!goOn())
            return false;
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement)
            ++depth;
        else if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    return true;
}

bool XmlBackupReader::readSms(XmlBackupSms& sms)
{
    if (ended || stopped || hasError())
        return false;
    if (!rootSeen && !readRoot())
        return false;
    while (!xml.atEnd()) {
        if (!goOn())
            return false;
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            // The root's end: anything after it but comments is an error.
            while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::Invalid) {
            }
            break;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (name == u"sms") {
            const bool usable = readSmsAttributes(sms);
            if (!skipElement())
                return false;
            if (usable && !xml.hasError())
                return true;
            if (!usable)
                ++malformed;
        } else {
            ++(name == u"mms" ? mms : malformed);
            if (!skipElement())
                return false;
        }
    }
    ended = true;
    fail();
    return false;
}

bool XmlBackupReader::readRoot()
{
    rootSeen = true;
    if (!xml.readNextStartElement()) {
        if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError || !xml.hasError())
            error = translated("The file holds no XML element.");
        else
            fail();
        return false;
    }
    if (xml.name() != u"smses") {
        error = translated("The file is not an SMS backup: its first element is <%1>, not <smses>.")
                    .arg(xml.name().toString().left(40));
        return false;
    }
    return true;
}

bool XmlBackupReader::readSmsAttributes(XmlBackupSms& sms)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    if (!attributes.hasAttribute(QStringLiteral("body")))
        return false;
    bool dateOk = false;
    bool typeOk = false;
    sms.dateMs = attributes.value(QStringLiteral("date")).toLongLong(&dateOk);
    sms.type = attributes.value(QStringLiteral("type")).toInt(&typeOk);
    sms.address = optionalText(attributes.value(QStringLiteral("address")).trimmed());
    if (!dateOk || !typeOk || sms.type < 1 || sms.type > 6 || sms.address.isEmpty())
        return false;
    if (sms.dateMs > 0 && sms.dateMs < kSmallestDateMs) {
        sms.dateMs *= 1000;
        ++secondsDates;
    }
    // A body is kept as written, even "null": it may be what was sent.
    sms.body = XmlRefFilter::controlCharsRestored(attributes.value(QStringLiteral("body")).toString());
    sms.subject = optionalText(attributes.value(QStringLiteral("subject")));
    sms.contactName = optionalText(attributes.value(QStringLiteral("contact_name")));
    if (sms.contactName == QLatin1String("(Unknown)"))
        sms.contactName.clear();
    return true;
}

// Turns the parser's error, if any, into a sentence for the user.
void XmlBackupReader::fail()
{
    if (!xml.hasError())
        return;
    const QString line = QString::number(xml.lineNumber());
    if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        error =
            translated("The file ends in the middle of an element (line %1): it is incomplete.").arg(line);
    else
        error =
            translated("The file is not a readable XML backup (line %1: %2).").arg(line, xml.errorString());
}
