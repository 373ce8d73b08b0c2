#!/usr/bin/env python3
"""The export benchmark's floor: Python's csv module writing the rows of the
CSV export (date, send, person, number, content) for every message of a
message database, oldest first: local date and time, 1 for a sent message, the
correspondent's name and address (a group's identifier in both), the trimmed
text with its line feeds as CR LF. The rows are read into memory first; the
seconds the writing took are printed. Usage: csv_floor.py DATABASE OUT.csv"""
import csv, sqlite3, sys, time

db = sqlite3.connect(sys.argv[1])
members = {}
for chat, identifier, name, address in db.execute(
        'select j.chat_id, c.chat_identifier, h._ct_name, h.id from chat_handle_join j '
        'join chat c on c.rowid = j.chat_id join handle h on h.rowid = j.handle_id order by j.chat_id, h.rowid'):
    members.setdefault(chat, []).append((identifier, name or '', address))
people = {chat: (m[0][0], m[0][0]) if len(m) > 1 else m[0][1:] for chat, m in members.items()}
rows = db.execute('select m.date, m.is_from_me, j.chat_id, m.text from message m '
                  'join chat_message_join j on j.message_id = m.rowid order by m.date, m.rowid').fetchall()
start = time.perf_counter()
with open(sys.argv[2], 'w', encoding='utf-8', newline='') as out:
    writer = csv.writer(out, lineterminator='\r\n')
    writer.writerow(('date', 'send', 'person', 'number', 'content'))
    for date, mine, chat, text in rows:
        person, number = people.get(chat, ('', ''))
        writer.writerow((time.strftime('%Y-%m-%d %H:%M:%S', time.localtime(date + 978307200)),
                         1 if mine else 0, person, number, (text or '').strip().replace('\n', '\r\n')))
print(time.perf_counter() - start)
