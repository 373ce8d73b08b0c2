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
        ("Backup SMS to Local Database", None),
        ("Transfer Android SMS to other Android", None),
        ("Transfer SMS from Database to Android", None),
        ("Export SMS to File", None),
        ("Print SMS", None),
        ("Delete SMS", None),
        ("Open Database Folder", None),
        ("Import XML Backup\u2026", None),
        ("Exit", None),
        ("Check for Update", None),
        ("Clear Cache files", None),
        ("Connect Android Phone via WiFi", None),
        ("Help", None),
        ("Feedback and Support", None),
        ("About", None),
        ("View Cache Files", None),
        ("Disconnect Device", None),
        ("Delete this Database", None),
        ("Backup SMS with this contact to Local Database", None),
        ("Transfer SMS with this contact to other Android", None),
        ("Export SMS with this contact to File", None),
        ("Print SMS with this contact", None),
        ("Transfer SMS with this contact to Android", None),
        ("Delete SMS with this contact", None),
        ("Backup Selected SMS to Local Database", None),
        ("Transfer Selected SMS to other Android", None),
        ("Export Selected SMS to File", None),
        ("Print Selected SMS", None),
        ("Transfer Selected SMS to Android", None),
        ("Delete Selected SMS", None),
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
        ("IDS_CAN_NOT_FOUNDCONTACT_KEYWORD_%0", "Find no contact with keyword %1."),
        ("IDS_CAN_NOT_FOUND_AND_MESSAGES", "Can't find any SMS."),
        ("IDS_CAN_NOT_FOUNDSMS_KEYWORD_%0", "Find no SMS with keyword %1."),
        ("IDS_SUC_CLEAR_CACHE", "Successfully cleared cache files."),
        (
            "The connected phones show no messages now. Plug a phone in again (or connect it again "
            "over WiFi) to load its messages.",
            None,
        ),
        ("IDS_CONFIRM_DEL_SEL_MESSAGES", "Confirm to delete the selected SMS?"),
        ("IDS_CONFIRM_DEL_THIS_CHAT", "Confirm to delete SMS with this contact?"),
        ("IDS_CONFIRM_DEL_THIS_LOCALDB", "Confirm to delete this Database?"),
        ("IDS_DEL_LOCALDB_SUC", "Successfully Deleted Database %0."),
        ("Import XML Backup", None),
        ("XML Backup (*.xml)", None),
        ("All Files (*)", None),
        ("The database folder %1 is not inside %2; nothing was deleted.", None),
        ("The messages on display do not belong to %1. Select it again; nothing was done.", None),
        ("IDS_ANDROID_%1_CANT_READ_MMC_NUMBER",
         "Failed to load country code from your phone. Please click \"OK\" button to select a country code "
         "manually."),
        ("IDS_SEL_ONE_ANDROID_DEVICE", "Please select an Android device:"),
        ("IDS_SEL_EXPORT_MESSAGES_PATH", "Please select Save Path for SMS."),
        ("A new version of %1 is available. Would you like to download it now?", None),
        ("%1: Read over USB without the companion app", None),
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
    ],
    "AndroidConnectWithWiFiThread": [
        ("IDS_GET_ANDROID_DEVICE_INFO", "Getting Android info..."),
    ],
    "AndroidRestoreSMSThread": [
        ("IDS_RESTORING_SMS_TO_ANDROID", "Sending SMS to Device..."),
        ("SMS: %1/%2", "SMS: %1/%2"),
        ("IDS_SUC_RESTORE_%1_SMS_TO_ANDROID", "Successfully Transferred %1 SMS"),
        ("IDS_SKIP_%1_SMS_GROUP_OR_SYS_MESSAGES", "%1 group messages or system messages can't be transferred."),
    ],
    "AndroidWIFIForm": [
        ("AndroidWIFIForm", "AndroidWIFIForm"),
        ("Connect Android via WiFi", None),
        ("Connect", None),
        ("Cancel", None),
        ("IDS_WIFI_SOCK_WRONG_FOR_EXAMPLE", "Input Error. Please input the correct WiFi connection info."),
        ("IDS_CONNECTING_ANDROID_DEVICE", "Connecting to Android..."),
    ],
    "CountrySelForm": [
        ("Dialog", "Dialog"),
        ("IDS_SEL_YOUR_PHONE_COUNTRY", "Select your country code:"),
        ("OK", "OK"),
        ("IDS_CANT_CONTINUE_WITHOUT_SEL_ONE_COUNTRY", "Please select a cuntry code first to continue."),
        ("IDS_CONFIRM_SEL_COUNTRY_%1", "Confirm to select %1?"),
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
        ("Dialog", "Dialog"),
        ("IDS_TITLE_SELECT_ONE_DEVICE_TO_TRANSFER", "Please select a Device."),
        ("\u786e\u5b9a", "Confirm"),
        ("\u53d6\u6d88", "Cancel"),
        ("IDS_PLEASE_SELECT_ONE_DATASOURCE", "Need to select a Device to continue."),
    ],
    "AboutUsForm": [
        ("Dialog", "Dialog"),
        ("\u5173\u4e8e", "About"),
        ("Textferry", "Textferry"),
        ("OK", "OK"),
    ],
    "ProgressForm": [
        ("Dialog", "Dialog"),
        ("Cancel", "Cancel"),
    ],
    "LocalDbSelForm": [
        ("Select one Database for backup", None),
        ("Select current database to merge or enter a new database name:", None),
        ("Selecting current Database will merge messages;entering new DB name will create a new Database.", None),
        ("Confirm", None),
        ("Cancel", None),
        ("IDS_PLEASE_SELECT_DATABASE_OR_INPUT_NEW_NAME", "Select one Database or enter a new Database name"),
        ("IDS_INVALID_LOCALDB_NAME",
         "Invalid Local Database name(can't contain \\ / : * ? \" < > |, nor begin with a dot)."),
    ],
    "BackupSMSThread": [
        ("IDS_BACKING_UP_SMS", "Backing up SMS to Local Database..."),
        ("SMS: %1/%2", "SMS: %1/%2"),
        ("IDS_SUC_BACKUP_%1_SMS", "Successfully Backup %1 SMS to local Database."),
    ],
    "LocalDbUpdateThread": [
        ("IDS_UPDATING_LOCALDB_%1", "Updating local database '%1'..."),
        ("SMS: %1/%2", "SMS: %1/%2"),
        ("IDS_LOCALDB_UPDATE_SUC_RESTART_REFRESH", "Successfully updated local database. Please restart software."),
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
        ("IDS_SUC_DELETE_%1_MESSAGES", "Successfully Deleted %1 SMS."),
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
