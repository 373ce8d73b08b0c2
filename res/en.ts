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
        <translation>&amp;Back Up SMS to Local Database</translation>
    </message>
    <message>
        <source>Transfer Android SMS to other Android</source>
        <translation>&amp;Transfer SMS to Another Android Phone</translation>
    </message>
    <message>
        <source>Transfer SMS from Database to Android</source>
        <translation>Transfer SMS from &amp;Database to Android Phone</translation>
    </message>
    <message>
        <source>Export SMS to File</source>
        <translation>&amp;Export SMS to File…</translation>
    </message>
    <message>
        <source>Print SMS</source>
        <translation>&amp;Print SMS…</translation>
    </message>
    <message>
        <source>Delete SMS</source>
        <translation>De&amp;lete SMS</translation>
    </message>
    <message>
        <source>Open Database Folder</source>
        <translation>&amp;Open Database Folder</translation>
    </message>
    <message>
        <source>Import XML Backup…</source>
        <translation>&amp;Import XML Backup…</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Check for Update</source>
        <translation>&amp;Check for Updates</translation>
    </message>
    <message>
        <source>Clear Cache files</source>
        <translation>C&amp;lear Cache Files</translation>
    </message>
    <message>
        <source>Connect Android Phone via WiFi</source>
        <translation>Connect Android Phone via &amp;WiFi…</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Feedback and Support</source>
        <translation>&amp;Feedback and Support</translation>
    </message>
    <message>
        <source>About</source>
        <translation>&amp;About Textferry</translation>
    </message>
    <message>
        <source>View Cache Files</source>
        <translation>&amp;View Cache Files</translation>
    </message>
    <message>
        <source>Disconnect Device</source>
        <translation>Dis&amp;connect Phone</translation>
    </message>
    <message>
        <source>Delete this Database</source>
        <translation>&amp;Delete This Database</translation>
    </message>
    <message>
        <source>Backup SMS with this contact to Local Database</source>
        <translation>&amp;Back Up SMS with This Contact to Local Database</translation>
    </message>
    <message>
        <source>Transfer SMS with this contact to other Android</source>
        <translation>&amp;Transfer SMS with This Contact to Another Android Phone</translation>
    </message>
    <message>
        <source>Export SMS with this contact to File</source>
        <translation>&amp;Export SMS with This Contact to File…</translation>
    </message>
    <message>
        <source>Print SMS with this contact</source>
        <translation>&amp;Print SMS with This Contact…</translation>
    </message>
    <message>
        <source>Transfer SMS with this contact to Android</source>
        <translation>&amp;Transfer SMS with This Contact to Android Phone</translation>
    </message>
    <message>
        <source>Delete SMS with this contact</source>
        <translation>&amp;Delete SMS with This Contact</translation>
    </message>
    <message>
        <source>Backup Selected SMS to Local Database</source>
        <translation>&amp;Back Up Selected SMS to Local Database</translation>
    </message>
    <message>
        <source>Transfer Selected SMS to other Android</source>
        <translation>&amp;Transfer Selected SMS to Another Android Phone</translation>
    </message>
    <message>
        <source>Export Selected SMS to File</source>
        <translation>&amp;Export Selected SMS to File…</translation>
    </message>
    <message>
        <source>Print Selected SMS</source>
        <translation>&amp;Print Selected SMS…</translation>
    </message>
    <message>
        <source>Transfer Selected SMS to Android</source>
        <translation>&amp;Transfer Selected SMS to Android Phone</translation>
    </message>
    <message>
        <source>Delete Selected SMS</source>
        <translation>&amp;Delete Selected SMS</translation>
    </message>
    <message>
        <source>Find in Messages</source>
        <translation>&amp;Find in Messages</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Find &amp;Next</translation>
    </message>
    <message>
        <source>Find Previous</source>
        <translation>Find &amp;Previous</translation>
    </message>
    <message>
        <source>Find Conversation</source>
        <translation>Find &amp;Conversation</translation>
    </message>
    <message>
        <source>Select All Messages</source>
        <translation>Select &amp;All Messages</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>&amp;Refresh</translation>
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
        <translation>No contact found with the keyword %1.</translation>
    </message>
    <message>
        <source>IDS_CAN_NOT_FOUND_AND_MESSAGES</source>
        <translation>There are no SMS to search.</translation>
    </message>
    <message>
        <source>IDS_CAN_NOT_FOUNDSMS_KEYWORD_%0</source>
        <translation>No SMS found with the keyword %1.</translation>
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
        <translation>Delete the selected SMS?</translation>
    </message>
    <message>
        <source>IDS_CONFIRM_DEL_THIS_CHAT</source>
        <translation>Delete the SMS with this contact?</translation>
    </message>
    <message>
        <source>IDS_CONFIRM_DEL_THIS_LOCALDB</source>
        <translation>Delete this database?</translation>
    </message>
    <message>
        <source>IDS_DEL_LOCALDB_SUC</source>
        <translation>Database %0 was deleted.</translation>
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
        <translation>The phone did not report its country. Press OK, then choose the country yourself.</translation>
    </message>
    <message>
        <source>IDS_SEL_ONE_ANDROID_DEVICE</source>
        <translation>Please select an Android phone:</translation>
    </message>
    <message>
        <source>IDS_SEL_EXPORT_MESSAGES_PATH</source>
        <translation>Choose Where to Save the SMS</translation>
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
        <source>All conversations of %1</source>
        <translation>All conversations of %1</translation>
    </message>
    <message>
        <source>Saved to %1</source>
        <translation>Saved to %1</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <source>Phone %1 disconnected; its messages stay in the cache</source>
        <translation>Phone %1 disconnected; its messages stay in the cache</translation>
    </message>
    <message>
        <source>Textferry could not open your web browser. Open this address in it yourself:&lt;br/&gt;&lt;br/&gt;%1</source>
        <translation>Textferry could not open your web browser. Open this address in it yourself:&lt;br/&gt;&lt;br/&gt;%1</translation>
    </message>
    <message>
        <source>Copy Address</source>
        <translation>Copy Address</translation>
    </message>
    <message>
        <source>If you are presented with the pop up to allow debugging with the computer on your Android device screen. Please simply check "Always allow from this computer" and then click "OK" to finish.&lt;br/&gt;(%1)</source>
        <translation>If your phone asks "Allow USB debugging?", tick "Always allow from this computer" and press OK.&lt;br/&gt;(%1)</translation>
    </message>
    <message>
        <source>&lt;b&gt;Android device not found.&lt;/b&gt;&lt;br/&gt;&lt;br/&gt;</source>
        <translation>&lt;b&gt;No Android phone found.&lt;/b&gt;&lt;br/&gt;&lt;br/&gt;</translation>
    </message>
    <message>
        <source>Want to connect Android device? If yes, please follow these steps:&lt;br/&gt;&lt;br/&gt;</source>
        <translation>To connect an Android phone, follow these steps:&lt;br/&gt;&lt;br/&gt;</translation>
    </message>
    <message>
        <source>* Enable USB debugging on your Android device. &lt;a href="%1"&gt;How to&lt;/a&gt;?&lt;br/&gt;&lt;br/&gt;</source>
        <translation>* Turn on USB debugging on the phone (&lt;a href="%1"&gt;how?&lt;/a&gt;).&lt;br/&gt;&lt;br/&gt;</translation>
    </message>
    <message>
        <source>* Install USB driver software on your computer. &lt;a href="%1"&gt;How to&lt;/a&gt;?&lt;br/&gt;&lt;br/&gt;</source>
        <translation>* Install the phone's USB driver on this computer (&lt;a href="%1"&gt;how?&lt;/a&gt;).&lt;br/&gt;&lt;br/&gt;</translation>
    </message>
    <message>
        <source>* Click &lt;a href="file:///%1"&gt;HERE&lt;/a&gt; to run Quillbridge Device Manager to try again.&lt;br/&gt;&lt;br/&gt;</source>
        <translation>* &lt;a href="file:///%1"&gt;Run Quillbridge Device Manager&lt;/a&gt;, then try again.&lt;br/&gt;&lt;br/&gt;</translation>
    </message>
    <message>
        <source>* Install the udev rules that let you reach Android phones over USB (Debian package &lt;b&gt;android-sdk-platform-tools-common&lt;/b&gt;), then unplug the phone and plug it in again.&lt;br/&gt;&lt;br/&gt;</source>
        <translation>* Install the udev rules that let you reach Android phones over USB (Debian package &lt;b&gt;android-sdk-platform-tools-common&lt;/b&gt;), then unplug the phone and plug it in again.&lt;br/&gt;&lt;br/&gt;</translation>
    </message>
    <message>
        <source>* When the phone asks "Allow USB debugging?", tick "Always allow from this computer" and press OK.&lt;br/&gt;&lt;br/&gt;</source>
        <translation>* When the phone asks "Allow USB debugging?", tick "Always allow from this computer" and press OK.&lt;br/&gt;&lt;br/&gt;</translation>
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
    <message>
        <source>1 Go to Google Play on your phone to download and installed the latest version Quillbridge SMS Sync.&lt;br/&gt;&lt;br/&gt;</source>
        <translation>1 On your phone, install the latest version of Quillbridge SMS Sync from Google Play.&lt;br/&gt;&lt;br/&gt;</translation>
    </message>
    <message>
        <source>2 click &lt;a href="file:///%1"&gt;&lt;b&gt;HERE&lt;/b&gt;&lt;/a&gt; to run Quillbridge Device Manager and then restart your phone to try again.&lt;br/&gt;&lt;br/&gt;</source>
        <translation>2 &lt;a href="file:///%1"&gt;&lt;b&gt;Run Quillbridge Device Manager&lt;/b&gt;&lt;/a&gt;, then restart your phone and try again.&lt;br/&gt;&lt;br/&gt;</translation>
    </message>
    <message>
        <source>Please go to Google Play on your Android Phone to download and install Quillbridge SMS Sync first and then try again. &lt;br/&gt;&lt;br/&gt;Error:</source>
        <translation>Please install Quillbridge SMS Sync from Google Play on the phone first, then try again.&lt;br/&gt;&lt;br/&gt;Error: </translation>
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
        <translation>Sending SMS to the phone...</translation>
    </message>
    <message>
        <source>SMS: %1/%2</source>
        <translation>SMS: %1/%2</translation>
    </message>
    <message>
        <source>IDS_SUC_RESTORE_%1_SMS_TO_ANDROID</source>
        <translation>Transferred %1 SMS.</translation>
    </message>
    <message>
        <source>IDS_SKIP_%1_SMS_GROUP_OR_SYS_MESSAGES</source>
        <translation> %1 group or system messages can't be transferred and were skipped.</translation>
    </message>
</context>
<context>
    <name>AndroidWIFIForm</name>
    <message>
        <source>AndroidWIFIForm</source>
        <translation>Connect Android Phone via WiFi</translation>
    </message>
    <message>
        <source>Connect Android via WiFi</source>
        <translation>Connect an Android phone over WiFi</translation>
    </message>
    <message>
        <source>Run Quillbridge SMS Sync on Android phone and click Connection button to get the Wifi connection info. Now input the info to the following Text Box. </source>
        <translation>Start Quillbridge SMS Sync on the phone and press its Connection button: it shows the phone's address. Type that address here (without a port).</translation>
    </message>
    <message>
        <source>If you haven't installed Quillbridge SMS Sync on Android phone, please go to the Market (Google Play) on your Android to search Quillbridge SMS Sync to download and install. </source>
        <translation>If Quillbridge SMS Sync is not on the phone yet, find it in Google Play on the phone and install it.</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>&amp;Connect</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>IDS_WIFI_SOCK_WRONG_FOR_EXAMPLE</source>
        <translation>That is not an address like 192.168.1.20. Please type the address the phone shows.</translation>
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
        <translation>Select Country</translation>
    </message>
    <message>
        <source>IDS_SEL_YOUR_PHONE_COUNTRY</source>
        <translation>Select your country:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>IDS_CANT_CONTINUE_WITHOUT_SEL_ONE_COUNTRY</source>
        <translation>Please select a country first.</translation>
    </message>
    <message>
        <source>IDS_CONFIRM_SEL_COUNTRY_%1</source>
        <translation>Select %1?</translation>
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
        <translation>Choose a Phone</translation>
    </message>
    <message>
        <source>IDS_TITLE_SELECT_ONE_DEVICE_TO_TRANSFER</source>
        <translation>Please select a phone.</translation>
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
        <translation>Please select a phone first.</translation>
    </message>
</context>
<context>
    <name>AboutUsForm</name>
    <message>
        <source>Dialog</source>
        <translation>About Textferry</translation>
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
        <translation>Textferry</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Progress:%1%</source>
        <translation>Progress: %1%</translation>
    </message>
</context>
<context>
    <name>LocalDbSelForm</name>
    <message>
        <source>Select one Database for backup</source>
        <translation>Choose a Local Database</translation>
    </message>
    <message>
        <source>Select current database to merge or enter a new database name:</source>
        <translation>Choose a database to merge into, or type a new database name:</translation>
    </message>
    <message>
        <source>Selecting current Database will merge messages;entering new DB name will create a new Database.</source>
        <translation>Choosing an existing database merges the messages into it; a new name creates a new database.</translation>
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
        <translation>Please choose a database or type a new database name.</translation>
    </message>
    <message>
        <source>IDS_INVALID_LOCALDB_NAME</source>
        <translation>This name can't be used for a local database: it may not contain \ / : * ? " &lt; &gt; | nor begin with a dot.</translation>
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
        <translation>Backed up %1 SMS to the local database.</translation>
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
        <translation>The local databases were updated. Please start Textferry again.</translation>
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
        <translation>Deleted %1 SMS.</translation>
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
