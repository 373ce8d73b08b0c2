<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QObject</name>
    <message>
        <source>Textferry</source>
        <translation>Textferry</translation>
    </message>
    <message>
        <source>Backup SMS to Local Database</source>
        <translation>Backup SMS to Local Database</translation>
    </message>
    <message>
        <source>Transfer Android SMS to other Android</source>
        <translation>Transfer Android SMS to other Android</translation>
    </message>
    <message>
        <source>Transfer SMS from Database to Android</source>
        <translation>Transfer SMS from Database to Android</translation>
    </message>
    <message>
        <source>Export SMS to File</source>
        <translation>Export SMS to File</translation>
    </message>
    <message>
        <source>Print SMS</source>
        <translation>Print SMS</translation>
    </message>
    <message>
        <source>Delete SMS</source>
        <translation>Delete SMS</translation>
    </message>
    <message>
        <source>Open Database Folder</source>
        <translation>Open Database Folder</translation>
    </message>
    <message>
        <source>Import XML Backup…</source>
        <translation>Import XML Backup…</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Check for Update</source>
        <translation>Check for Update</translation>
    </message>
    <message>
        <source>Clear Cache files</source>
        <translation>Clear Cache files</translation>
    </message>
    <message>
        <source>Connect Android Phone via WiFi</source>
        <translation>Connect Android Phone via WiFi</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Feedback and Support</source>
        <translation>Feedback and Support</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>View Cache Files</source>
        <translation>View Cache Files</translation>
    </message>
    <message>
        <source>Disconnect Device</source>
        <translation>Disconnect Device</translation>
    </message>
    <message>
        <source>Delete this Database</source>
        <translation>Delete this Database</translation>
    </message>
    <message>
        <source>Backup SMS with this contact to Local Database</source>
        <translation>Backup SMS with this contact to Local Database</translation>
    </message>
    <message>
        <source>Transfer SMS with this contact to other Android</source>
        <translation>Transfer SMS with this contact to other Android</translation>
    </message>
    <message>
        <source>Export SMS with this contact to File</source>
        <translation>Export SMS with this contact to File</translation>
    </message>
    <message>
        <source>Print SMS with this contact</source>
        <translation>Print SMS with this contact</translation>
    </message>
    <message>
        <source>Transfer SMS with this contact to Android</source>
        <translation>Transfer SMS with this contact to Android</translation>
    </message>
    <message>
        <source>Delete SMS with this contact</source>
        <translation>Delete SMS with this contact</translation>
    </message>
    <message>
        <source>Backup Selected SMS to Local Database</source>
        <translation>Backup Selected SMS to Local Database</translation>
    </message>
    <message>
        <source>Transfer Selected SMS to other Android</source>
        <translation>Transfer Selected SMS to other Android</translation>
    </message>
    <message>
        <source>Export Selected SMS to File</source>
        <translation>Export Selected SMS to File</translation>
    </message>
    <message>
        <source>Print Selected SMS</source>
        <translation>Print Selected SMS</translation>
    </message>
    <message>
        <source>Transfer Selected SMS to Android</source>
        <translation>Transfer Selected SMS to Android</translation>
    </message>
    <message>
        <source>Delete Selected SMS</source>
        <translation>Delete Selected SMS</translation>
    </message>
</context>
<context>
    <name>ItemModelMain</name>
    <message>
        <source>IDS_ROOT_DEVICE</source>
        <translation>Devices</translation>
    </message>
    <message>
        <source>IDS_ROOT_LOCALDB</source>
        <translation>Local Databases</translation>
    </message>
    <message>
        <source>Read over USB without the companion app</source>
        <translation>Read over USB without the companion app</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Conversations</source>
        <translation>Conversations</translation>
    </message>
    <message>
        <source>Messages: %1</source>
        <translation>SMS: %1</translation>
    </message>
    <message>
        <source>Messages: 0</source>
        <translation>SMS: 0</translation>
    </message>
    <message>
        <source>IDS_CAN_NOT_FOUNDCONTACT_KEYWORD_%0</source>
        <translation>Find no contact with keyword %1.</translation>
    </message>
    <message>
        <source>IDS_CAN_NOT_FOUND_AND_MESSAGES</source>
        <translation>Can't find any SMS.</translation>
    </message>
    <message>
        <source>IDS_CAN_NOT_FOUNDSMS_KEYWORD_%0</source>
        <translation>Find no SMS with keyword %1.</translation>
    </message>
    <message>
        <source>IDS_SUC_CLEAR_CACHE</source>
        <translation>Successfully cleared cache files.</translation>
    </message>
    <message>
        <source>The connected phones show no messages now. Plug a phone in again (or connect it again over WiFi) to load its messages.</source>
        <translation>The connected phones show no messages now. Plug a phone in again (or connect it again over WiFi) to load its messages.</translation>
    </message>
    <message>
        <source>IDS_CONFIRM_DEL_SEL_MESSAGES</source>
        <translation>Confirm to delete the selected SMS?</translation>
    </message>
    <message>
        <source>IDS_CONFIRM_DEL_THIS_CHAT</source>
        <translation>Confirm to delete SMS with this contact?</translation>
    </message>
    <message>
        <source>IDS_CONFIRM_DEL_THIS_LOCALDB</source>
        <translation>Confirm to delete this Database?</translation>
    </message>
    <message>
        <source>IDS_DEL_LOCALDB_SUC</source>
        <translation>Successfully Deleted Database %0.</translation>
    </message>
    <message>
        <source>Import XML Backup</source>
        <translation>Import XML Backup</translation>
    </message>
    <message>
        <source>XML Backup (*.xml)</source>
        <translation>XML Backup (*.xml)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>All Files (*)</translation>
    </message>
    <message>
        <source>The database folder %1 is not inside %2; nothing was deleted.</source>
        <translation>The database folder %1 is not inside %2; nothing was deleted.</translation>
    </message>
    <message>
        <source>The messages on display do not belong to %1. Select it again; nothing was done.</source>
        <translation>The messages on display do not belong to %1. Select it again; nothing was done.</translation>
    </message>
    <message>
        <source>IDS_ANDROID_%1_CANT_READ_MMC_NUMBER</source>
        <translation>Failed to load country code from your phone. Please click "OK" button to select a country code manually.</translation>
    </message>
    <message>
        <source>IDS_SEL_ONE_ANDROID_DEVICE</source>
        <translation>Please select an Android device:</translation>
    </message>
    <message>
        <source>IDS_SEL_EXPORT_MESSAGES_PATH</source>
        <translation>Please select Save Path for SMS.</translation>
    </message>
    <message>
        <source>A new version of %1 is available. Would you like to download it now?</source>
        <translation>A new version of %1 is available. Would you like to download it now?</translation>
    </message>
    <message>
        <source>%1: Read over USB without the companion app</source>
        <translation>%1: Read over USB without the companion app</translation>
    </message>
    <message>
        <source>Writing messages to a phone needs the companion app, Quillbridge SMS Sync. %1 is read over USB without it, so messages can only be read from it.</source>
        <translation>Writing messages to a phone needs the companion app, Quillbridge SMS Sync. %1 is read over USB without it, so messages can only be read from it.</translation>
    </message>
</context>
<context>
    <name>ExportSMSThread</name>
    <message>
        <source>IDS_EXPORTING_MESSAGES_TO_FILE</source>
        <translation>Exporting SMS...</translation>
    </message>
    <message>
        <source>Messages: %1/%2</source>
        <translation>SMS: %1/%2</translation>
    </message>
    <message>
        <source>IDS_SUC_EXPORT_%1_MMS</source>
        <translation>Successfully exported %1 SMS.</translation>
    </message>
</context>
<context>
    <name>AndroidConnectWithUSBThread</name>
    <message>
        <source>IDS_CHECKING_APK_INSTALL</source>
        <translation>Checking and installing Quillbridge SMS Sync now...</translation>
    </message>
    <message>
        <source>IDS_GET_ANDROID_DEVICE_INFO</source>
        <translation>Getting Android info...</translation>
    </message>
    <message>
        <source>This phone needs Android 10 or later, or the companion app Quillbridge SMS Sync.</source>
        <translation>This phone needs Android 10 or later, or the companion app Quillbridge SMS Sync.</translation>
    </message>
</context>
<context>
    <name>AndroidConnectWithWiFiThread</name>
    <message>
        <source>IDS_GET_ANDROID_DEVICE_INFO</source>
        <translation>Getting Android info...</translation>
    </message>
</context>
<context>
    <name>AndroidRestoreSMSThread</name>
    <message>
        <source>IDS_RESTORING_SMS_TO_ANDROID</source>
        <translation>Sending SMS to Device...</translation>
    </message>
    <message>
        <source>SMS: %1/%2</source>
        <translation>SMS: %1/%2</translation>
    </message>
    <message>
        <source>IDS_SUC_RESTORE_%1_SMS_TO_ANDROID</source>
        <translation>Successfully Transferred %1 SMS</translation>
    </message>
    <message>
        <source>IDS_SKIP_%1_SMS_GROUP_OR_SYS_MESSAGES</source>
        <translation>%1 group messages or system messages can't be transferred.</translation>
    </message>
</context>
<context>
    <name>AndroidWIFIForm</name>
    <message>
        <source>AndroidWIFIForm</source>
        <translation>AndroidWIFIForm</translation>
    </message>
    <message>
        <source>Connect Android via WiFi</source>
        <translation>Connect Android via WiFi</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>IDS_WIFI_SOCK_WRONG_FOR_EXAMPLE</source>
        <translation>Input Error. Please input the correct WiFi connection info.</translation>
    </message>
    <message>
        <source>IDS_CONNECTING_ANDROID_DEVICE</source>
        <translation>Connecting to Android...</translation>
    </message>
</context>
<context>
    <name>CountrySelForm</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>IDS_SEL_YOUR_PHONE_COUNTRY</source>
        <translation>Select your country code:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>IDS_CANT_CONTINUE_WITHOUT_SEL_ONE_COUNTRY</source>
        <translation>Please select a cuntry code first to continue.</translation>
    </message>
    <message>
        <source>IDS_CONFIRM_SEL_COUNTRY_%1</source>
        <translation>Confirm to select %1?</translation>
    </message>
</context>
<context>
    <name>AndroidLoadSMSThread</name>
    <message>
        <source>IDS_ANDROID_LOADING_SMS</source>
        <translation>Loading SMS...</translation>
    </message>
    <message>
        <source>%1 messages from the phone could not be read and were skipped.</source>
        <translation>%1 messages from the phone could not be read and were skipped.</translation>
    </message>
</context>
<context>
    <name>AndroidShellLoadSMSThread</name>
    <message>
        <source>The phone %1 stopped sending after %2 of %3 messages (unplugged?). Its previous messages are kept.</source>
        <translation>The phone %1 stopped sending after %2 of %3 messages (unplugged?). Its previous messages are kept.</translation>
    </message>
    <message>
        <source>The phone %1 stopped answering after %2 messages. Its previous messages are kept.</source>
        <translation>The phone %1 stopped answering after %2 messages. Its previous messages are kept.</translation>
    </message>
    <message>
        <source>The messages on the phone %1 changed while they were read. Its previous messages are kept; please try again.</source>
        <translation>The messages on the phone %1 changed while they were read. Its previous messages are kept; please try again.</translation>
    </message>
    <message>
        <source>The phone %1 did not list its messages: %2</source>
        <translation>The phone %1 did not list its messages: %2</translation>
    </message>
    <message>
        <source>The phone %1 did not answer %2: %3</source>
        <translation>The phone %1 did not answer %2: %3</translation>
    </message>
    <message>
        <source>The phone's answer to %1 holds an id that is no number: %2</source>
        <translation>The phone's answer to %1 holds an id that is no number: %2</translation>
    </message>
    <message>
        <source>The phone's cache folder %1 is not a folder of Textferry's phone caches; nothing was loaded.</source>
        <translation>The phone's cache folder %1 is not a folder of Textferry's phone caches; nothing was loaded.</translation>
    </message>
    <message>
        <source>the message count query</source>
        <translation>the message count query</translation>
    </message>
    <message>
        <source>the message query</source>
        <translation>the message query</translation>
    </message>
    <message>
        <source>the contacts query</source>
        <translation>the contacts query</translation>
    </message>
    <message>
        <source>the contact count query</source>
        <translation>the contact count query</translation>
    </message>
</context>
<context>
    <name>ContentQueryRows</name>
    <message>
        <source>The phone's answer to %1 could not be read: %2 (line %3: "%4").</source>
        <translation>The phone's answer to %1 could not be read: %2 (line %3: "%4").</translation>
    </message>
    <message>
        <source>text after "No result found."</source>
        <translation>text after "No result found."</translation>
    </message>
    <message>
        <source>a row where none was counted</source>
        <translation>a row where none was counted</translation>
    </message>
    <message>
        <source>the first row does not begin as counted</source>
        <translation>the first row does not begin as counted</translation>
    </message>
    <message>
        <source>more rows than were counted</source>
        <translation>more rows than were counted</translation>
    </message>
    <message>
        <source>row %1 expected</source>
        <translation>row %1 expected</translation>
    </message>
    <message>
        <source>column %1 missing</source>
        <translation>column %1 missing</translation>
    </message>
    <message>
        <source>column %1 is not hex</source>
        <translation>column %1 is not hex</translation>
    </message>
</context>
<context>
    <name>SmsBrowser</name>
    <message>
        <source>[%1 more characters are not shown here. Export the message to read the whole text.]</source>
        <translation>[%1 more characters are not shown here. Export the message to read the whole text.]</translation>
    </message>
</context>
<context>
    <name>DataSourceSelForm</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>IDS_TITLE_SELECT_ONE_DEVICE_TO_TRANSFER</source>
        <translation>Please select a Device.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>IDS_PLEASE_SELECT_ONE_DATASOURCE</source>
        <translation>Need to select a Device to continue.</translation>
    </message>
</context>
<context>
    <name>AboutUsForm</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Textferry</source>
        <translation>Textferry</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ProgressForm</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>LocalDbSelForm</name>
    <message>
        <source>Select one Database for backup</source>
        <translation>Select one Database for backup</translation>
    </message>
    <message>
        <source>Select current database to merge or enter a new database name:</source>
        <translation>Select current database to merge or enter a new database name:</translation>
    </message>
    <message>
        <source>Selecting current Database will merge messages;entering new DB name will create a new Database.</source>
        <translation>Selecting current Database will merge messages;entering new DB name will create a new Database.</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>IDS_PLEASE_SELECT_DATABASE_OR_INPUT_NEW_NAME</source>
        <translation>Select one Database or enter a new Database name</translation>
    </message>
    <message>
        <source>IDS_INVALID_LOCALDB_NAME</source>
        <translation>Invalid Local Database name(can't contain \ / : * ? " &lt; &gt; |, nor begin with a dot).</translation>
    </message>
</context>
<context>
    <name>BackupSMSThread</name>
    <message>
        <source>IDS_BACKING_UP_SMS</source>
        <translation>Backing up SMS to Local Database...</translation>
    </message>
    <message>
        <source>SMS: %1/%2</source>
        <translation>SMS: %1/%2</translation>
    </message>
    <message>
        <source>IDS_SUC_BACKUP_%1_SMS</source>
        <translation>Successfully Backup %1 SMS to local Database.</translation>
    </message>
</context>
<context>
    <name>LocalDbUpdateThread</name>
    <message>
        <source>IDS_UPDATING_LOCALDB_%1</source>
        <translation>Updating local database '%1'...</translation>
    </message>
    <message>
        <source>SMS: %1/%2</source>
        <translation>SMS: %1/%2</translation>
    </message>
    <message>
        <source>IDS_LOCALDB_UPDATE_SUC_RESTART_REFRESH</source>
        <translation>Successfully updated local database. Please restart software.</translation>
    </message>
</context>
<context>
    <name>ImportXmlThread</name>
    <message>
        <source>Importing the XML backup...</source>
        <translation>Importing the XML backup...</translation>
    </message>
    <message>
        <source>SMS: %1</source>
        <translation>SMS: %1</translation>
    </message>
    <message>
        <source>Can't import %1: %2</source>
        <translation>Can't import %1: %2</translation>
    </message>
    <message>
        <source>Imported %1 SMS. Already in the database: %2. MMS skipped: %3. Unusable elements skipped: %4.</source>
        <translation>Imported %1 SMS. Already in the database: %2. MMS skipped: %3. Unusable elements skipped: %4.</translation>
    </message>
    <message>
        <source>Dates read as seconds: %1.</source>
        <translation>Dates read as seconds: %1.</translation>
    </message>
</context>
<context>
    <name>XmlCountryGuessThread</name>
    <message>
        <source>Looking for the country of the numbers...</source>
        <translation>Looking for the country of the numbers...</translation>
    </message>
    <message>
        <source>Can't read %1: %2</source>
        <translation>Can't read %1: %2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>usage: textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH [--descending]</source>
        <translation>usage: textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH [--descending]</translation>
    </message>
    <message>
        <source>--out needs a path.</source>
        <translation>--out needs a path.</translation>
    </message>
    <message>
        <source>Unknown format %1: use xml, txt, doc, csv, html or pdf.</source>
        <translation>Unknown format %1: use xml, txt, doc, csv, html or pdf.</translation>
    </message>
    <message>
        <source>There is no local database named %1.</source>
        <translation>There is no local database named %1.</translation>
    </message>
    <message>
        <source>Nothing to export; no file was written.</source>
        <translation>Nothing to export; no file was written.</translation>
    </message>
    <message>
        <source>The export to %1 was stopped.</source>
        <translation>The export to %1 was stopped.</translation>
    </message>
    <message>
        <source>usage: textferry import-xml FILE --into NAME [--country CODE]
       textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH [--descending]
       textferry --help | --version</source>
        <translation>usage: textferry import-xml FILE --into NAME [--country CODE]
       textferry export NAME --format xml|txt|doc|csv|html|pdf --out PATH [--descending]
       textferry --help | --version</translation>
    </message>
    <message>
        <source>Moves text messages between Android phones and this computer.
Without arguments, the window opens. Commands:
  import-xml FILE --into NAME [--country CODE]
        Imports a phone's XML backup file into the local database NAME
        (created when new, else merged). Numbers are normalised with
        the database's country; a database without one takes CODE, a
        region code such as US or DE, else the country most of the
        file's international numbers belong to, else the system's.
  export NAME --format F --out PATH [--descending]
        Exports the local database NAME, oldest first (newest first
        with --descending); F is xml, txt, doc, csv, html or pdf.
        A database without messages is not exported: "Nothing to
        export; no file was written." and exit status 1.
Exit status: 0 success, 1 failure, 2 wrong arguments.</source>
        <translation>Moves text messages between Android phones and this computer.
Without arguments, the window opens. Commands:
  import-xml FILE --into NAME [--country CODE]
        Imports a phone's XML backup file into the local database NAME
        (created when new, else merged). Numbers are normalised with
        the database's country; a database without one takes CODE, a
        region code such as US or DE, else the country most of the
        file's international numbers belong to, else the system's.
  export NAME --format F --out PATH [--descending]
        Exports the local database NAME, oldest first (newest first
        with --descending); F is xml, txt, doc, csv, html or pdf.
        A database without messages is not exported: "Nothing to
        export; no file was written." and exit status 1.
Exit status: 0 success, 1 failure, 2 wrong arguments.</translation>
    </message>
    <message>
        <source>import-xml or export, and its arguments.</source>
        <translation>import-xml or export, and its arguments.</translation>
    </message>
    <message>
        <source>The local database an import goes into.</source>
        <translation>The local database an import goes into.</translation>
    </message>
    <message>
        <source>The country of a new database's numbers: a region code such as US or DE.</source>
        <translation>The country of a new database's numbers: a region code such as US or DE.</translation>
    </message>
    <message>
        <source>The export format: xml, txt, doc, csv, html or pdf.</source>
        <translation>The export format: xml, txt, doc, csv, html or pdf.</translation>
    </message>
    <message>
        <source>The file (or, for pdf and html, the folder) to write.</source>
        <translation>The file (or, for pdf and html, the folder) to write.</translation>
    </message>
    <message>
        <source>Newest messages first.</source>
        <translation>Newest messages first.</translation>
    </message>
    <message>
        <source>No command given.</source>
        <translation>No command given.</translation>
    </message>
    <message>
        <source>Unknown command %1.</source>
        <translation>Unknown command %1.</translation>
    </message>
    <message>
        <source>The import was stopped.</source>
        <translation>The import was stopped.</translation>
    </message>
    <message>
        <source>Country of the numbers, from the file's international numbers: %1.</source>
        <translation>Country of the numbers, from the file's international numbers: %1.</translation>
    </message>
    <message>
        <source>No international numbers in the file and no country in the system's locale: numbers are kept as written. --country CODE gives one.</source>
        <translation>No international numbers in the file and no country in the system's locale: numbers are kept as written. --country CODE gives one.</translation>
    </message>
    <message>
        <source>No international numbers in the file: numbers are read as in the system's country, %1.</source>
        <translation>No international numbers in the file: numbers are read as in the system's country, %1.</translation>
    </message>
    <message>
        <source>The local database keeps its country, %1; --country %2 is not used.</source>
        <translation>The local database keeps its country, %1; --country %2 is not used.</translation>
    </message>
    <message>
        <source>usage: textferry import-xml FILE --into NAME [--country CODE]</source>
        <translation>usage: textferry import-xml FILE --into NAME [--country CODE]</translation>
    </message>
    <message>
        <source>"%1" can't be the name of a local database (none of \ / : * ? " &lt; &gt; |, no leading dot).</source>
        <translation>"%1" can't be the name of a local database (none of \ / : * ? " &lt; &gt; |, no leading dot).</translation>
    </message>
    <message>
        <source>Unknown country %1: use a region code such as US or DE.</source>
        <translation>Unknown country %1: use a region code such as US or DE.</translation>
    </message>
    <message>
        <source>Can't find the file %1.</source>
        <translation>Can't find the file %1.</translation>
    </message>
    <message>
        <source>The import of %1 was stopped.</source>
        <translation>The import of %1 was stopped.</translation>
    </message>
</context>
<context>
    <name>XmlBackupReader</name>
    <message>
        <source>The file holds no XML element.</source>
        <translation>The file holds no XML element.</translation>
    </message>
    <message>
        <source>The file is not an SMS backup: its first element is &lt;%1&gt;, not &lt;smses&gt;.</source>
        <translation>The file is not an SMS backup: its first element is &lt;%1&gt;, not &lt;smses&gt;.</translation>
    </message>
    <message>
        <source>The file ends in the middle of an element (line %1): it is incomplete.</source>
        <translation>The file ends in the middle of an element (line %1): it is incomplete.</translation>
    </message>
    <message>
        <source>The file is not a readable XML backup (line %1: %2).</source>
        <translation>The file is not a readable XML backup (line %1: %2).</translation>
    </message>
</context>
<context>
    <name>LocalDbCatalogue</name>
    <message>
        <source>Can't create the database folder %1.</source>
        <translation>Can't create the database folder %1.</translation>
    </message>
</context>
<context>
    <name>DeleteMessagesThread</name>
    <message>
        <source>IDS_DELETING_LOCAL_DB_MESSAGES</source>
        <translation>Deleting SMS...</translation>
    </message>
    <message>
        <source>IDS_SUC_DELETE_%1_MESSAGES</source>
        <translation>Successfully Deleted %1 SMS.</translation>
    </message>
</context>
<context>
    <name>SMSPrinter</name>
    <message>
        <source>IDS_PRINT_SMS</source>
        <translation>Print SMS</translation>
    </message>
</context>
<context>
    <name>MessagePageWriter</name>
    <message>
        <source>[%1 more characters are not shown here.]</source>
        <translation>[%1 more characters are not shown here.]</translation>
    </message>
</context>
</TS>
