#pragma once

#include "android/AdbRunner.h"

#include <QString>
#include <QStringList>

#include <functional>

struct AndroidDevice;

// Reading a phone over the adb shell alone, without the companion app: on
// Android 10 and later the shell user may read the SMS and contacts
// providers. The command lines here are what the phone's shell receives;
// adb joins the words after "shell" with spaces and the phone's sh splits
// them again, so every argument holding parentheses or spaces is quoted.
namespace ShellRoute {

// The first platform level whose shell user reads SMS and contacts.
constexpr int kMinimumSdk = 29;

inline constexpr char kSmsUri[] = "content://sms";
inline constexpr char kContactsUri[] = "content://com.android.contacts/data/phones";
// The message ids alone: the count and the anchors of every later query.
inline constexpr char kIdProjection[] = "_id";
// One line per message with no free text in it.
inline constexpr char kSmsHexProjection[] = "_id:date:type:read:hex(address):hex(subject):hex(body)";
// For a provider that refuses hex(): the text as stored, the body last.
inline constexpr char kSmsRawProjection[] = "_id:date:type:read:address:subject:body";
inline constexpr char kContactHexProjection[] = "_id:hex(data1):hex(display_name)";
inline constexpr char kContactRawProjection[] = "_id:data1:display_name";

// text in single quotes when it holds anything but letters, digits and "_".
QString shellQuoted(const QString& text);
// -s serial shell content query --uri URI --projection P --sort "_id ASC".
// The phone's shell then receives, for the messages read as hex:
//   content query --uri content://sms --projection '_id:date:type:read:hex(address):hex(subject):hex(body)'
//       --sort "_id ASC"          (one line; the rows it prints: ContentQueryRows.h)
// Counting first, the projection "_id" alone prints rows such as "Row: 0 _id=7".
QStringList contentQueryArgs(const QString& serial, const QString& uri, const QString& projection);
// -s serial shell getprop name; it prints the value and a line feed
// ("getprop ro.build.version.sdk" prints "33"), an unset property an empty line.
QStringList getpropArgs(const QString& serial, const QString& name);

// A property's value from getprop's output: its first line, trimmed (an
// unset property prints an empty line).
QString propertyValue(const QString& output);
// The mobile country code of the first SIM operator in a comma-separated
// list of operator numbers ("310260,23410"): the first three digits of the
// first entry that is not empty; empty when there is none.
QString countryCodeOfOperators(const QString& operators);
// The platform level of a "ro.build.version.sdk" value; 0 when it is no number.
int sdkLevel(const QString& value);

// Fills the record of a phone read over the shell from its properties, as
// getProperty answers them: manufacturer (ro.product.manufacturer), model
// (ro.product.model), version (ro.build.version.release, "13"), level
// (ro.build.version.sdk, "33") and country code (gsm.sim.operator.numeric,
// "310260" gives 310); uid and the cache folder follow from the serial
// ("adb-shell:SERIAL", android_cache/shell-SERIAL).
void fillShellRecord(AndroidDevice& record, const std::function<QString(const QString&)>& getProperty);

// "getprop name" on the phone: the value, or a throw when adb failed.
QString adbGetprop(const QString& serial, const QString& name, const AdbStopCheck& stop = {});

} // namespace ShellRoute
