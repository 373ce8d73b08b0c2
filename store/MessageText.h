#pragma once

#include <QString>
#include <functional>

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
// Replaces the emoji code units and pairs; replacement gets the upper-case hexadecimal code point.
QString replaceEmoji(const QString& text, const std::function<QString(const QString&)>& replacement);
// bodyText with every emoji shown as "[EMOJI]": what every list, page, export and print shows.
QString displayText(const _MsgMessage& message);
