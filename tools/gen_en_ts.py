#!/usr/bin/env python3
"""Writes res/en.ts, the English translation, from the table below.

The table is the one place where a source text or key gets its English text;
edit it and run this script (the build compiles res/en.ts with lrelease).
"""
import os
from xml.sax.saxutils import escape

# context -> list of (source, English)
TEXTS = {
    "QObject": [
        ("Textferry", "Textferry"),
        ("Backup SMS to Local Database", "&Back Up SMS to Local Database"),
        ("Transfer Android SMS to other Android", "&Transfer SMS to Another Android Phone"),
        ("Transfer SMS from Database to Android", "Transfer SMS from &Database to Android Phone"),
        ("Export SMS to File", "&Export SMS to File\u2026"),
        ("Print SMS", "&Print SMS\u2026"),
        ("Delete SMS", "De&lete SMS"),
        ("Open Database Folder", "&Open Database Folder"),
        ("Import XML Backup\u2026", "&Import XML Backup\u2026"),
        ("Exit", "E&xit"),
        ("Check for Update", "&Check for Updates"),
        ("Clear Cache files", "C&lear Cache Files"),
        ("Connect Android Phone via WiFi", "Connect Android Phone via &WiFi\u2026"),
        ("Help", "&Help"),
        ("Feedback and Support", "&Feedback and Support"),
        ("About", "&About Textferry"),
        ("View Cache Files", "&View Cache Files"),
        ("Disconnect Device", "Dis&connect Phone"),
        ("Delete this Database", "&Delete This Database"),
        ("Backup SMS with this contact to Local Database", "&Back Up SMS with This Contact to Local Database"),
        ("Transfer SMS with this contact to other Android", "&Transfer SMS with This Contact to Another Android Phone"),
        ("Export SMS with this contact to File", "&Export SMS with This Contact to File\u2026"),
        ("Print SMS with this contact", "&Print SMS with This Contact\u2026"),
        ("Transfer SMS with this contact to Android", "&Transfer SMS with This Contact to Android Phone"),
        ("Delete SMS with this contact", "&Delete SMS with This Contact"),
        ("Backup Selected SMS to Local Database", "&Back Up Selected SMS to Local Database"),
        ("Transfer Selected SMS to other Android", "&Transfer Selected SMS to Another Android Phone"),
        ("Export Selected SMS to File", "&Export Selected SMS to File\u2026"),
        ("Print Selected SMS", "&Print Selected SMS\u2026"),
        ("Transfer Selected SMS to Android", "&Transfer Selected SMS to Android Phone"),
        ("Delete Selected SMS", "&Delete Selected SMS"),
        ("Find in Messages", "&Find in Messages"),
        ("Find Next", "Find &Next"),
        ("Find Previous", "Find &Previous"),
        ("Find Conversation", "Find &Conversation"),
        ("Select All Messages", "Select &All Messages"),
        ("Refresh", "&Refresh"),
    ],
    "ItemModelMain": [
        ("IDS_ROOT_DEVICE", "Devices"),
        ("IDS_ROOT_LOCALDB", "Local Databases"),
        ("Read over USB without the companion app", None),
    ],
    "MainWindow": [
        ("Conversations", "Conversations"),
        ("Messages: %1", "SMS: %1"),
        ("Messages: 0", "SMS: 0"),
        ("IDS_CAN_NOT_FOUNDCONTACT_KEYWORD_%0", "No contact found with the keyword %1."),
        ("IDS_CAN_NOT_FOUND_AND_MESSAGES", "There are no SMS to search."),
        ("IDS_CAN_NOT_FOUNDSMS_KEYWORD_%0", "No SMS found with the keyword %1."),
        ("IDS_SUC_CLEAR_CACHE", "Successfully cleared cache files."),
        (
            "The connected phones show no messages now. Plug a phone in again (or connect it again "
            "over WiFi) to load its messages.",
            None,
        ),
        ("IDS_CONFIRM_DEL_SEL_MESSAGES", "Delete the selected SMS?"),
        ("IDS_CONFIRM_DEL_THIS_CHAT", "Delete the SMS with this contact?"),
        ("IDS_CONFIRM_DEL_THIS_LOCALDB", "Delete this database?"),
        ("IDS_DEL_LOCALDB_SUC", "Database %0 was deleted."),
        ("Import XML Backup", None),
        ("XML Backup (*.xml)", None),
        ("All Files (*)", None),
        ("The database folder %1 is not inside %2; nothing was deleted.", None),
        ("The messages on display do not belong to %1. Select it again; nothing was done.", None),
        ("IDS_ANDROID_%1_CANT_READ_MMC_NUMBER",
         "The phone did not report its country. Press OK, then choose the country yourself."),
        ("IDS_SEL_ONE_ANDROID_DEVICE", "Please select an Android phone:"),
        ("IDS_SEL_EXPORT_MESSAGES_PATH", "Choose Where to Save the SMS"),
        ("A new version of %1 is available. Would you like to download it now?", None),
        ("%1: Read over USB without the companion app", None),
        ("All conversations of %1", None),
        ("Saved to %1", None),
        ("Open Folder", None),
        ("Phone %1 disconnected; its messages stay in the cache", None),
        ("Textferry could not open your web browser. Open this address in it yourself:<br/><br/>%1", None),
        ("Copy Address", None),
        ("If you are presented with the pop up to allow debugging with the computer on your Android device screen. "
         "Please simply check \"Always allow from this computer\" and then click \"OK\" to finish.<br/>(%1)",
         "If your phone asks \"Allow USB debugging?\", tick \"Always allow from this computer\" and press "
         "OK.<br/>(%1)"),
        ("<b>Android device not found.</b><br/><br/>", "<b>No Android phone found.</b><br/><br/>"),
        ("Want to connect Android device? If yes, please follow these steps:<br/><br/>",
         "To connect an Android phone, follow these steps:<br/><br/>"),
        ("* Enable USB debugging on your Android device. <a href=\"%1\">How to</a>?<br/><br/>",
         "* Turn on USB debugging on the phone (<a href=\"%1\">how?</a>).<br/><br/>"),
        ("* Install USB driver software on your computer. <a href=\"%1\">How to</a>?<br/><br/>",
         "* Install the phone's USB driver on this computer (<a href=\"%1\">how?</a>).<br/><br/>"),
        ("* Click <a href=\"file:///%1\">HERE</a> to run Quillbridge Device Manager to try again.<br/><br/>",
         "* <a href=\"file:///%1\">Run Quillbridge Device Manager</a>, then try again.<br/><br/>"),
        ("* Install the udev rules that let you reach Android phones over USB (Debian package "
         "<b>android-sdk-platform-tools-common</b>), then unplug the phone and plug it in again.<br/><br/>", None),
        ("* When the phone asks \"Allow USB debugging?\", tick \"Always allow from this computer\" and press "
         "OK.<br/><br/>", None),
        ("Writing messages to a phone needs the companion app, Quillbridge SMS Sync. %1 is read over USB without "
         "it, so messages can only be read from it.", None),
    ],
    "ExportSMSThread": [
        ("IDS_EXPORTING_MESSAGES_TO_FILE", "Exporting SMS..."),
        ("Messages: %1/%2", "SMS: %1/%2"),
        ("IDS_SUC_EXPORT_%1_MMS", "Successfully exported %1 SMS."),
    ],
    "AndroidConnectWithUSBThread": [
        ("IDS_CHECKING_APK_INSTALL", "Checking and installing Quillbridge SMS Sync now..."),
        ("IDS_GET_ANDROID_DEVICE_INFO", "Getting Android info..."),
        ("This phone needs Android 10 or later, or the companion app Quillbridge SMS Sync.", None),
        ("1 Go to Google Play on your phone to download and installed the latest version Quillbridge SMS "
         "Sync.<br/><br/>",
         "1 On your phone, install the latest version of Quillbridge SMS Sync from Google Play.<br/><br/>"),
        ("2 click <a href=\"file:///%1\"><b>HERE</b></a> to run Quillbridge Device Manager and then restart your "
         "phone to try again.<br/><br/>",
         "2 <a href=\"file:///%1\"><b>Run Quillbridge Device Manager</b></a>, then restart your phone and try "
         "again.<br/><br/>"),
        ("Please go to Google Play on your Android Phone to download and install Quillbridge SMS Sync first and "
         "then try again. <br/><br/>Error:",
         "Please install Quillbridge SMS Sync from Google Play on the phone first, then try again.<br/><br/>Error: "),
    ],
    "AndroidConnectWithWiFiThread": [
        ("IDS_GET_ANDROID_DEVICE_INFO", "Getting Android info..."),
    ],
    "AndroidRestoreSMSThread": [
        ("IDS_RESTORING_SMS_TO_ANDROID", "Sending SMS to the phone..."),
        ("SMS: %1/%2", "SMS: %1/%2"),
        ("IDS_SUC_RESTORE_%1_SMS_TO_ANDROID", "Transferred %1 SMS."),
        ("IDS_SKIP_%1_SMS_GROUP_OR_SYS_MESSAGES",
         # follows the success sentence directly
         " %1 group or system messages can't be transferred and were skipped."),
    ],
    "AndroidWIFIForm": [
        ("AndroidWIFIForm", "Connect Android Phone via WiFi"),
        ("Connect Android via WiFi", "Connect an Android phone over WiFi"),
        ("Run Quillbridge SMS Sync on Android phone and click Connection button to get the Wifi connection info. "
         "Now input the info to the following Text Box. ",
         "Start Quillbridge SMS Sync on the phone and press its Connection button: it shows the phone's address. "
         "Type that address here (without a port)."),
        ("If you haven't installed Quillbridge SMS Sync on Android phone, please go to the Market (Google Play) on "
         "your Android to search Quillbridge SMS Sync to download and install. ",
         "If Quillbridge SMS Sync is not on the phone yet, find it in Google Play on the phone and install it."),
        ("Connect", "&Connect"),
        ("Cancel", None),
        ("IDS_WIFI_SOCK_WRONG_FOR_EXAMPLE",
         "That is not an address like 192.168.1.20. Please type the address the phone shows."),
        ("IDS_CONNECTING_ANDROID_DEVICE", "Connecting to Android..."),
    ],
    "CountrySelForm": [
        ("Dialog", "Select Country"),
        ("IDS_SEL_YOUR_PHONE_COUNTRY", "Select your country:"),
        ("OK", "OK"),
        ("IDS_CANT_CONTINUE_WITHOUT_SEL_ONE_COUNTRY", "Please select a country first."),
        ("IDS_CONFIRM_SEL_COUNTRY_%1", "Select %1?"),
    ],
    "AndroidLoadSMSThread": [
        ("IDS_ANDROID_LOADING_SMS", "Loading SMS..."),
        ("%1 messages from the phone could not be read and were skipped.", None),
    ],
    "AndroidShellLoadSMSThread": [
        ("The phone %1 stopped sending after %2 of %3 messages (unplugged?). Its previous messages are kept.",
         None),
        ("The phone %1 stopped answering after %2 messages. Its previous messages are kept.", None),
        ("The messages on the phone %1 changed while they were read. Its previous messages are kept; please "
         "try again.", None),
        ("The phone %1 did not list its messages: %2", None),
        ("The phone %1 did not answer %2: %3", None),
        ("The phone's answer to %1 holds an id that is no number: %2", None),
        ("The phone's cache folder %1 is not a folder of Textferry's phone caches; nothing was loaded.", None),
        ("the message count query", None),
        ("the message query", None),
        ("the contacts query", None),
        ("the contact count query", None),
    ],
    "ContentQueryRows": [
        ("The phone's answer to %1 could not be read: %2 (line %3: \"%4\").", None),
        ("text after \"No result found.\"", None),
        ("a row where none was counted", None),
        ("the first row does not begin as counted", None),
        ("more rows than were counted", None),
        ("row %1 expected", None),
        ("column %1 missing", None),
        ("column %1 is not hex", None),
    ],
    "SmsBrowser": [
        ("[%1 more characters are not shown here. Export the message to read the whole text.]", None),
    ],
    "DataSourceSelForm": [
        ("Dialog", "Choose a Phone"),
        ("IDS_TITLE_SELECT_ONE_DEVICE_TO_TRANSFER", "Please select a phone."),
        ("\u786e\u5b9a", "Confirm"),
        ("\u53d6\u6d88", "Cancel"),
        ("IDS_PLEASE_SELECT_ONE_DATASOURCE", "Please select a phone first."),
    ],
    "AboutUsForm": [
        ("Dialog", "About Textferry"),
        ("\u5173\u4e8e", "About"),
        ("Textferry", "Textferry"),
        ("OK", "OK"),
    ],
    "ProgressForm": [
        ("Dialog", "Textferry"),
        ("Cancel", "Cancel"),
        ("Progress:%1%", "Progress: %1%"),
    ],
    "LocalDbSelForm": [
        ("Select one Database for backup", "Choose a Local Database"),
        ("Select current database to merge or enter a new database name:",
         "Choose a database to merge into, or type a new database name:"),
        ("Selecting current Database will merge messages;entering new DB name will create a new Database.",
         "Choosing an existing database merges the messages into it; a new name creates a new database."),
        ("Confirm", None),
        ("Cancel", None),
        ("IDS_PLEASE_SELECT_DATABASE_OR_INPUT_NEW_NAME", "Please choose a database or type a new database name."),
        ("IDS_INVALID_LOCALDB_NAME",
         "This name can't be used for a local database: it may not contain \\ / : * ? \" < > | nor begin with a dot."),
    ],
    "BackupSMSThread": [
        ("IDS_BACKING_UP_SMS", "Backing up SMS to Local Database..."),
        ("SMS: %1/%2", "SMS: %1/%2"),
        ("IDS_SUC_BACKUP_%1_SMS", "Backed up %1 SMS to the local database."),
    ],
    "LocalDbUpdateThread": [
        ("IDS_UPDATING_LOCALDB_%1", "Updating local database '%1'..."),
        ("SMS: %1/%2", "SMS: %1/%2"),
        ("IDS_LOCALDB_UPDATE_SUC_RESTART_REFRESH", "The local databases were updated. Please start Textferry again."),
    ],
    "ImportXmlThread": [
        ("Importing the XML backup...", None),
        ("SMS: %1", None),
        ("Can't import %1: %2", None),
        ("Imported %1 SMS. Already in the database: %2. MMS skipped: %3. Unusable elements skipped: %4.", None),
        ("Dates read as seconds: %1.", None),
    ],
    "XmlCountryGuessThread": [
        ("Looking for the country of the numbers...", None),
        ("Can't read %1: %2", None),
    ],
    "CommandLine": [
        ("usage: textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH [--descending]", None),
        ("--out needs a path.", None),
        ("Unknown format %1: use xml, txt, doc, csv, html or pdf.", None),
        ("There is no local database named %1.", None),
        ("Nothing to export; no file was written.", None),
        ("The export to %1 was stopped.", None),
        ("usage: textferry import-xml FILE --into NAME [--country CODE]\n       textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH [--descending]\n       textferry --help | --version", None),
        ("Moves text messages between Android phones and this computer.\nWithout arguments, the window opens. Commands:\n  import-xml FILE --into NAME [--country CODE]\n        Imports a phone's XML backup file into the local database NAME\n        (created when new, else merged). Numbers are normalised with\n        the database's country; a database without one takes CODE, a\n        region code such as US or DE, else the country most of the\n        file's international numbers belong to, else the system's.\n  export NAME --format F --out PATH [--descending]\n        Exports the local database NAME, oldest first (newest first\n        with --descending); F is xml, txt, doc, csv, html or pdf.\n        A database without messages is not exported: \"Nothing to\n        export; no file was written.\" and exit status 1.\nExit status: 0 success, 1 failure, 2 wrong arguments.", None),
        ("import-xml or export, and its arguments.", None),
        ("The local database an import goes into.", None),
        ("The country of a new database's numbers: a region code such as US or DE.", None),
        ("The export format: xml, txt, doc, csv, html or pdf.", None),
        ("The file (or, for pdf and html, the folder) to write.", None),
        ("Newest messages first.", None),
        ("No command given.", None),
        ("Unknown command %1.", None),
        ("The import was stopped.", None),
        ("Country of the numbers, from the file's international numbers: %1.", None),
        ("No international numbers in the file and no country in the system's locale: numbers are kept as written. --country CODE gives one.", None),
        ("No international numbers in the file: numbers are read as in the system's country, %1.", None),
        ("The local database keeps its country, %1; --country %2 is not used.", None),
        ("usage: textferry import-xml FILE --into NAME [--country CODE]", None),
        ("\"%1\" can't be the name of a local database (none of \\ / : * ? \" < > |, no leading dot).", None),
        ("Unknown country %1: use a region code such as US or DE.", None),
        ("Can't find the file %1.", None),
        ("The import of %1 was stopped.", None),
    ],
    "XmlBackupReader": [
        ("The file holds no XML element.", None),
        ("The file is not an SMS backup: its first element is <%1>, not <smses>.", None),
        ("The file ends in the middle of an element (line %1): it is incomplete.", None),
        ("The file is not a readable XML backup (line %1: %2).", None),
    ],
    "LocalDbCatalogue": [
        ("Can't create the database folder %1.", None),
    ],
    "DeleteMessagesThread": [
        ("IDS_DELETING_LOCAL_DB_MESSAGES", "Deleting SMS..."),
        ("IDS_SUC_DELETE_%1_MESSAGES", "Deleted %1 SMS."),
    ],
    "SMSPrinter": [
        ("IDS_PRINT_SMS", "Print SMS"),
    ],
    "MessagePageWriter": [
        ("[%1 more characters are not shown here.]", None),
    ],
}


def main():
    out = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>",
           '<TS version="2.1" language="en_US">']
    for context, entries in TEXTS.items():
        out.append("<context>")
        out.append("    <name>%s</name>" % escape(context))
        for source, english in entries:
            out.append("    <message>")
            out.append("        <source>%s</source>" % escape(source))
            out.append("        <translation>%s</translation>" % escape(english or source))
            out.append("    </message>")
        out.append("</context>")
    out.append("</TS>")
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "en.ts")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
