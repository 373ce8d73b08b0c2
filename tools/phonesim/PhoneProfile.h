#pragma once

#include "tools/phonesim/ConnectionUrl.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>

// One simulated phone, read from its JSON file. Every key is optional:
//   serial, state ("device"), installed (true), pm ("ok"), crlf (false),
//   install ("ok"), broadcast ("ok"), fault ("none"), faultExchange ("any"),
//   batch (100), defsmsapp (false), info (object, order kept),
//   messages (array) or generate (object), props (object), contacts (array),
//   shellFault ("none"), shellFaultRow (half the rows).
class PhoneProfile
{
public:
    // Reads path; false with *error set when it is not a JSON object. The
    // serial falls back to the file's base name.
    bool load(const QString& path, QString* error);
    // Reads JSON text; fallbackSerial is used when it names no serial.
    bool parse(const QByteArray& text, const QString& fallbackSerial, QString* error);

    const QString& serial() const { return serialText; }
    // True when the text names a serial of its own.
    bool hasOwnSerial() const;
    QString state() const;
    bool installedWhenPlugged() const;
    // "default" (as the platform level's pm does), "ok", "empty" or "fail".
    QString packageListing() const;
    bool crlf() const;
    bool installFails() const;
    // adb install refuses the file as a real phone refuses one that is no APK.
    bool installRefusesNotApk() const;
    // The value getprop prints for name: "props" first, else derived from "info".
    QString property(const QString& name) const;
    // ro.build.version.sdk as a number.
    int sdkLevel() const;
    // The fault of content queries: "none", "unplug-mid-stream", "stall" or "no-hex".
    QString shellFault() const;
    // The message row after which "unplug-mid-stream" and "stall" strike; -1: half the rows.
    int shellFaultRow() const;
    bool broadcastFails() const;
    // The fault that applies to an exchange of kind: "none" when the phone's
    // fault is meant for another kind of exchange.
    QString faultFor(ExchangeKind kind) const;
    int batchSize() const;
    bool needsDefaultSmsApp() const;
    // The restore batch (1-based) that the restore faults hit; 1 unless "faultBatch" says otherwise.
    int faultBatch() const;
    // The argument of "$hello:": "key=value;" for each info entry.
    QByteArray infoText() const;
    const QList<QPair<QString, QString>>& infoEntries() const { return info; }

    const QJsonObject& json() const { return object; }
    const QByteArray& sourceText() const { return source; }

private:
    QString word(const QString& key, const QString& fallback) const;
    QString infoValue(const QString& key, const QString& fallback) const;
    void readInfo();
    void addDefaultInfo();

    QByteArray source;
    QJsonObject object;
    QString serialText;
    QList<QPair<QString, QString>> info;
};
