#pragma once

#include <QString>

struct _MsgChat;
struct _MsgHandle;
struct _MsgMessage;

bool isGroupChat(const _MsgChat& chat);
// The contact name, with the address in brackets when withNumber; the address alone without a name.
QString handleLabel(const _MsgHandle& handle, bool withNumber);
// display_name, else the participants' labels joined by ", ", else "Unknown".
QString chatTitle(const _MsgChat& chat, bool withNumbers);
// "unknown" without a chat; else the chat title, plus " (sender)" in a group chat.
QString messageChatLabel(const _MsgMessage& message);
// The message's text (ordinary) or the generated sentence (system messages).
QString bodyText(const _MsgMessage& message);
// What every list, page, export and print shows of a message: its body
// text, with the message's own characters (emoji too).
QString displayText(const _MsgMessage& message);
