#!/usr/bin/env python3
"""The import benchmark's floor: what a short script does with a phone's XML
backup. Streams the file through iterparse (surrogate pairs the app writes as
two references mended first), and inserts the rows the import makes (chat,
handle, message, joins, _last) into an existing empty message database in one
transaction, dropping repeated messages by their guid, made from the content
hash. Usage: import_floor.py BACKUP.xml DATABASE [cache_size pragma]."""
import hashlib, re, sqlite3, struct, sys
import xml.etree.ElementTree as ET

REF = re.compile(rb'&#(5[56]\d{3});&#(5[67]\d{3});|&#(\d+);')
def fix(v):  # what XML forbids even as a reference becomes U+FFFD
    return b'&#%d;' % (v if v in (9, 10, 13) or (v >= 32 and not 0xD800 <= v < 0xE000) else 0xFFFD)
def mend(m):  # a character as two references to its UTF-16 halves becomes one
    if not m[1]: return fix(int(m[3]))
    a, b = int(m[1]), int(m[2])
    if 0xD800 <= a < 0xDC00 and 0xDC00 <= b < 0xE000:
        return b'&#%d;' % (0x10000 + ((a - 0xD800) << 10) + b - 0xDC00)
    return fix(a) + fix(b)
def guid(data):
    h = hashlib.md5(data).hexdigest().upper()
    return '-'.join((h[:8], h[8:12], h[12:16], h[16:20], h[20:]))
def address(a):
    return a.lower() if re.search('[A-Za-z@]', a) else re.sub('[^0-9+]', '', a)

db = sqlite3.connect(sys.argv[2], isolation_level=None)
if len(sys.argv) > 3: db.execute('pragma cache_size=%d' % int(sys.argv[3]))
db.execute('begin immediate')
chats, handles, last = {}, {}, {}
parser, rest, root = ET.XMLPullParser(('start', 'end')), b'', None
with open(sys.argv[1], 'rb') as f:
    while True:
        chunk = f.read(1 << 20); data = rest + chunk; cut = data.rfind(b'\n') + 1 if chunk else len(data)
        parser.feed(REF.sub(mend, data[:cut])); rest = data[cut:]
        for event, e in parser.read_events():
            if event == 'start':
                root = e if root is None else root; continue
            if e.tag != 'sms' or 'body' not in e.attrib: continue
            a, ms, kind = e.get('address', '').strip(), int(e.get('date')), int(e.get('type'))
            if a in ('', 'null') or not 1 <= kind <= 6: continue
            a, body, mine = address(a), e.get('body'), int(kind != 1)
            date = (ms * 1000 if 0 < ms < 10**11 else ms) // 1000 - 978307200
            name = e.get('contact_name'); name = '' if name in ('null', '(Unknown)') else name
            subject = e.get('subject'); subject = None if subject == 'null' else subject
            if a not in handles:
                handles[a] = db.execute("insert into handle(id,service,_ct_name,_photo) values(?,'SMS',?,x'')", (a, name)).lastrowid
            if a not in chats:
                chats[a] = db.execute("insert into chat(guid,style,state,chat_identifier,service_name,account_login,"
                    "is_archived,group_id) values(?,45,3,?,'SMS','E:',0,?)", ('SMS;-;' + a, a, guid(('SMS;-;' + a).encode()))).lastrowid
                db.execute('insert into chat_handle_join(chat_id,handle_id) values(?,?)', (chats[a], handles[a]))
            h = hashlib.md5(a.encode() + struct.pack('<iB', date, mine) + body.replace('\ufffc', '').encode()).hexdigest()
            c = db.execute("insert or ignore into message(guid,text,handle_id,subject,version,service,account,account_guid,date,"
                "date_read,date_delivered,is_finished,is_from_me,is_prepared,is_read,is_sent,cache_roomnames,was_data_detected,"
                "date_played,share_status,share_direction,logic_hash) values(?,?,?,?,10,'SMS','e:','',?,?,?,1,?,1,1,1,'',1,0,0,0,?)", (guid(h.encode()), body, handles[a], subject, date, date, date, mine, h))
            if c.rowcount == 1:
                db.execute('insert into chat_message_join(chat_id,message_id) values(?,?)', (chats[a], c.lastrowid))
                last[a] = max(last.get(a, date), date)
            root.clear()
        if not chunk: break
for a, date in last.items(): db.execute('update chat set _last=? where rowid=? and _last<?', (date, chats[a], date))
db.execute('commit')
